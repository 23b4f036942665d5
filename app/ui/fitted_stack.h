#pragma once

#include <QWidget>

class QVBoxLayout;

// Pages of which one is shown, the stack being as tall as that page: hidden
// pages ask for no room (a stacked widget takes the tallest of all), so a short
// page such as an empty state does not inherit the height of the gallery, and
// the column around it scrolls by what is really there.
class FittedStack : public QWidget {
    Q_OBJECT
public:
    explicit FittedStack(QWidget* parent = nullptr);

    void addWidget(QWidget* page);
    int count() const { return int(pages_.size()); }
    QWidget* widget(int index) const { return pages_.value(index); }
    int indexOf(const QWidget* page) const;
    QWidget* currentWidget() const { return current_; }
    int currentIndex() const { return indexOf(current_); }
    void setCurrentWidget(QWidget* page);
    void setCurrentIndex(int index) { setCurrentWidget(widget(index)); }

Q_SIGNALS:
    void currentChanged(int index);

private:
    void focusOn(QWidget* page);

    QVBoxLayout* layout_;
    QList<QWidget*> pages_;
    QWidget* current_ = nullptr;
};
