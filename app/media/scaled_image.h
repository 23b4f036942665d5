#pragma once

#include <QImage>
#include <QString>

class QIODevice;

// The picture in an image file fitting an edge-by-edge square (never enlarged),
// turned upright by its EXIF orientation. Decodes at the reduced size where the
// format can (JPEG), and refuses pictures whose decoded size would be unbounded.
// HEIC and AVIF go through libheif, camera raw files show their embedded preview.
// Null when the file is not a readable picture; `error` then says why.
QImage readScaledImage(const QString& path, int edge, QString* error = nullptr);
// The same for a picture Qt can read from `device`, left as stored (not turned).
QImage readScaledImage(QIODevice* device, int edge, QString* error = nullptr);

// `image` scaled down smoothly to fit an edge-by-edge square; as it is when it fits.
QImage fitInSquare(QImage image, int edge);

// Why a pipe, socket or device is not read.
QString notRegularFileMessage();
