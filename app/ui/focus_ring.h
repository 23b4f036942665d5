#pragma once

#include <QPointer>
#include <QWidget>

// A ring around the button that has the keyboard focus, for buttons whose
// look (a style sheet, a flat face) leaves out the style's own focus mark.
// Drawn on a sibling above the button, so the button's painting is untouched.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    // Follows the keyboard focus in `window` from now on.
    static void install(QWidget* window);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit FocusRing(QWidget* window);
    void follow(QWidget* focused);
    void place();

    QWidget* window_;
    QPointer<QWidget> target_;
};
