#pragma once

#include <QSize>
#include <QString>

// Camera raw files (DNG, CR2, NEF, ARW and the like), read through LibRaw.

// True for the extensions raw files go by, in lower case.
bool isCameraRawExtension(const QString& extension);

// The developed picture's pixel size as shown, turned by the camera's
// orientation; invalid when LibRaw cannot identify the file. Reads the
// headers only.
QSize cameraRawSize(const QString& path);
