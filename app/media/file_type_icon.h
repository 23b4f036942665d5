#pragma once

#include <QImage>
#include <QString>

// The icon of the file's type from the icon theme, as an edge-by-edge picture;
// a plain drawn page when the theme has none or there is no GUI application.
// GUI thread only (icon themes are not thread-safe).
QImage fileTypeIcon(const QString& path, int edge);
