#pragma once

#include <QImage>
#include <QString>

// The picture in an image file fitting an edge-by-edge square (never enlarged),
// turned upright by its EXIF orientation. Decodes at the reduced size where the
// format can (JPEG), and refuses pictures whose decoded size would be unbounded.
// Null when the file is not a readable picture; `error` then says why.
QImage readScaledImage(const QString& path, int edge, QString* error = nullptr);
