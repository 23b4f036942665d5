#pragma once

#include <QImage>
#include <QString>

// The theme icons that stand for the file's type, best first. Finding the
// type may read the start of the file, and the type registry is one lock for
// the whole process, so views ask off the GUI thread; any thread.
QStringList typeIconNames(const QString& path);

// The first of `iconNames` the icon theme has, as an edge-by-edge picture; a
// plain drawn page when it has none or there is no GUI application. GUI
// thread only (icon themes are not thread-safe).
QImage typeIcon(const QStringList& iconNames, int edge);

// The icon of the file's type: both of the above, on the GUI thread.
QImage fileTypeIcon(const QString& path, int edge);
