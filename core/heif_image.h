#pragma once

#include <QSize>
#include <QString>

// HEIC, HEIF and AVIF pictures, read through libheif.

// The primary picture's pixel size as shown (the file's rotation applied);
// invalid when the file is no HEIF container libheif can read.
QSize heifImageSize(const QString& path);
