#pragma once

#include <QAbstractButton>
#include <QColor>

class QHBoxLayout;

// One sidebar row: the coloured symbol, the title and, at the trailing edge,
// whatever the caller adds (the section's activity). The current row is
// tinted and marked with a capsule.
class SidebarRow : public QAbstractButton {
    Q_OBJECT
public:
    SidebarRow(const QString& symbol, const QColor& color, const QString& title, int height,
               QWidget* parent = nullptr);
    void setCurrent(bool current);
    bool isCurrent() const { return current_; }
    void addTrailing(QWidget* widget);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString symbol_;
    QColor color_;
    int height_;
    bool current_ = false;
    bool hovered_ = false;
    QHBoxLayout* trailing_;
};
