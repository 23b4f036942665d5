#pragma once

#include <QImage>
#include <QString>

// The picture of a camera raw file fitting an edge-by-edge square, turned as
// the camera was held: the preview the camera embedded, or, for a file without
// one, the raw data developed at half size. Null when LibRaw cannot read it.
QImage readCameraRawPreview(const QString& path, int edge);
