#include "ui/banded_paint.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <cmath>

namespace {

// Runs `draw` once per band of `area`, each clipped to its band. Bands are
// whole logical rows, so they only tile the device exactly when the pixel
// ratio is whole; otherwise the picture is drawn at once.
template <typename Draw> void inBands(QPainter& painter, const QRectF& area, Draw draw)
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const int whole = int(std::lround(ratio));
    const bool simpleTransform = painter.transform().type() <= QTransform::TxTranslate;
    if (area.height() * ratio < 96 || whole < 1 || std::abs(ratio - whole) > 1e-6 ||
        !simpleTransform) {
        draw();
        return;
    }
    const QRect bounds = area.toAlignedRect();
    const int step = std::max(1, BandedPaint::bandRows / whole);
    for (int top = bounds.top(); top <= bounds.bottom(); top += step) {
        painter.save();
        painter.setClipRect(QRect(bounds.left(), top, bounds.width(), step), Qt::IntersectClip);
        draw();
        painter.restore();
    }
}

} // namespace

void BandedPaint::drawPixmap(QPainter& painter, const QPointF& at, const QPixmap& pixmap)
{
    const QRectF area(at, QSizeF(pixmap.size()) / pixmap.devicePixelRatio());
    inBands(painter, area, [&] { painter.drawPixmap(at, pixmap); });
}

void BandedPaint::drawImage(QPainter& painter, const QRectF& target, const QImage& image)
{
    inBands(painter, target, [&] { painter.drawImage(target, image); });
}
