#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

// A symbol in white on a 25 × 25 rounded square filled with a gradient of `color`.
class SidebarIcon : public QWidget {
    Q_OBJECT
public:
    SidebarIcon(const QString& symbol, const QColor& color, QWidget* parent = nullptr);
    void set(const QString& symbol, const QColor& color);
    QSize sizeHint() const override { return {25, 25}; }

    // The same drawing for delegates, in `rect` (25 × 25 at its centre).
    static void paint(QPainter& painter, const QRectF& rect, const QString& symbol,
                      const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
    QColor color_;
};
