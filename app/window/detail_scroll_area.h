#pragma once

#include <QPointer>
#include <QScrollArea>

class QAbstractScrollArea;

// The detail column's one vertical scroll area. Its page (the heading over a
// section) scrolls as a whole; a section whose results scroll by themselves (a
// grid of any length, a long list) hands that part over as its body, which is
// then given the full height of the area. The wheel over the body first
// scrolls the heading away, then the body; back up, the body first. So the
// heading never eats the room of the results, and a grid of 100,000 entries
// stays one virtualized view. What lies under the body (a footer) comes into
// view once the body has scrolled to its end.
class DetailScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit DetailScrollArea(QWidget* page, QWidget* parent = nullptr);

    void setBody(QAbstractScrollArea* body);
    QAbstractScrollArea* body() const { return body_; }
    // How far the heading can scroll away: the body's top inside the page.
    int collapsibleHeight() const;
    // Back to the top of the page, the heading in full.
    void reset();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void fit();
    void fitLater();
    bool scrollNested(int pixels);
    int lead() const;

    QPointer<QAbstractScrollArea> body_;
    bool fitting_ = false;
    bool fitQueued_ = false;
};
