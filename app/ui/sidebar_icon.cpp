#include "ui/sidebar_icon.h"

#include "sections/named_colors.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QPainter>

SidebarIcon::SidebarIcon(const QString& symbol, const QColor& color, QWidget* parent)
    : QWidget(parent), symbol_(symbol), color_(color)
{
    setFixedSize(25, 25);
}

void SidebarIcon::set(const QString& symbol, const QColor& color)
{
    symbol_ = symbol;
    color_ = color;
    update();
}

void SidebarIcon::paint(QPainter& painter, const QRectF& rect, const QString& symbol,
                        const QColor& named)
{
    const QRectF square(rect.center() - QPointF(12.5, 12.5), QSizeF(25, 25));
    // Rows keep the colour they were made with; it is drawn in the current appearance.
    const QColor color = NamedColors::inAppearance(named);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(UiStyle::withAlpha(color, 0.16));
    painter.drawRoundedRect(square.translated(0, 1), 7, 7);
    QLinearGradient gradient(square.topLeft(), square.bottomLeft());
    gradient.setColorAt(0, color.lighter(118));
    gradient.setColorAt(1, color);
    painter.setBrush(gradient);
    painter.drawRoundedRect(square, 7, 7);
    const int edge = 14;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    QPixmap glyph = symbolPixmap(symbol, int(edge * ratio), Qt::white);
    glyph.setDevicePixelRatio(ratio);
    painter.drawPixmap(QPointF(square.center().x() - edge / 2.0, square.center().y() - edge / 2.0),
                       glyph);
    painter.restore();
}

void SidebarIcon::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, rect(), symbol_, color_);
}
