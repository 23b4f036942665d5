#pragma once

#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

// Up to a few lines of a name in a tile, wrapped at word boundaries (or
// anywhere) with the last line elided. Each name is laid out once per font
// and width and then drawn as static text: shaping every visible name again
// on every frame of a scroll was most of a tile's cost.
namespace WrappedText {
void draw(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, int lines,
          Qt::Alignment alignment);
}
