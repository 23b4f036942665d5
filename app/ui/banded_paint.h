#pragma once

class QImage;
class QPainter;
class QPixmap;
class QPointF;
class QRectF;

// Qt's raster engine splits a blend of 96 rows or more across the global
// thread pool and waits for it. While our own work or another program keeps
// both cores busy, that wait can take a frame or more; drawing large pictures
// in bands of fewer rows keeps the whole paint on the painting thread.
namespace BandedPaint {

// Device rows per band, below the height the engine would split.
constexpr int bandRows = 64;

void drawPixmap(QPainter& painter, const QPointF& at, const QPixmap& pixmap);
void drawImage(QPainter& painter, const QRectF& target, const QImage& image);

} // namespace BandedPaint
