#pragma once

#include <QString>

// Sizes as a person reads them, in decimal units: "1 byte", "999 bytes",
// "12 kB", "3.4 MB", "1.25 GB".
QString formatFileSize(qint64 bytes);
