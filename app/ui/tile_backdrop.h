#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// The rounded card behind a tile: its fill, border and focus ring drawn once
// per size and colours into a cached pixmap, then copied. Every tile of a
// view has the same size, and an antialiased outline costs far more to
// rasterize (Qt hands tall shapes to its worker threads) than a plain copy.
namespace TileBackdrop {
void paint(QPainter& painter, const QRect& rect, qreal radius, const QColor& fill,
           const QColor& border, const QColor& ring = {});
}
