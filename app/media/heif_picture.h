#pragma once

#include <QImage>
#include <QString>

// The primary picture of a HEIC, HEIF or AVIF file fitting an edge-by-edge
// square, turned as the file says. Takes the stored thumbnail when it is big
// enough. Null when libheif cannot read the file.
QImage readHeifPicture(const QString& path, int edge);
