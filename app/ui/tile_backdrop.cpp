#include "ui/tile_backdrop.h"

#include "ui/banded_paint.h"
#include "ui/ui_style.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>

namespace {

QString colourKey(const QColor& colour)
{
    return colour.isValid() ? QString::number(colour.rgba(), 16) : QStringLiteral("-");
}

} // namespace

void TileBackdrop::paint(QPainter& painter, const QRect& rect, qreal radius, const QColor& fill,
                         const QColor& border, const QColor& ring)
{
    if (rect.isEmpty()) return;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QString key = QStringLiteral("quorvane-tile|%1x%2@%3|%4|%5|%6|%7")
                            .arg(rect.width())
                            .arg(rect.height())
                            .arg(ratio)
                            .arg(radius)
                            .arg(colourKey(fill), colourKey(border), colourKey(ring));
    QPixmap backdrop;
    if (!QPixmapCache::find(key, &backdrop)) {
        backdrop = QPixmap((QSizeF(rect.size()) * ratio).toSize());
        backdrop.setDevicePixelRatio(ratio);
        backdrop.fill(Qt::transparent);
        QPainter canvas(&backdrop);
        const QRectF frame =
            QRectF(QPointF(0, 0), QSizeF(rect.size())).adjusted(0.5, 0.5, -0.5, -0.5);
        UiStyle::card(canvas, frame, radius, fill, border);
        if (ring.isValid())
            UiStyle::card(canvas, frame.adjusted(1, 1, -1, -1), radius - 1, QColor(), ring);
        canvas.end();
        QPixmapCache::insert(key, backdrop);
    }
    BandedPaint::drawPixmap(painter, rect.topLeft(), backdrop);
}
