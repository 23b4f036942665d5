#pragma once

#include <QList>
#include <QUrl>
#include <optional>

class QMimeData;

// File URLs the way the desktop's clipboard and drags carry them: as
// text/uri-list and as GNOME's x-special/gnome-copied-files, whose first
// line marks them as copied or cut (to be moved).
QMimeData* fileUrlsMimeData(const QList<QUrl>& urls, bool cut = false);
// Nothing when `data` carries no URLs.
std::optional<QList<QUrl>> fileUrlsFrom(const QMimeData* data);
bool fileUrlsAreCut(const QMimeData* data);
