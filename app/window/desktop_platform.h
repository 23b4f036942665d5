#pragma once

#include "workspace/workspace_platform.h"

class QWidget;

// Real dialogs over `parent`, the desktop clipboard (readable by other file
// managers) and the keyboard state.
WorkspacePlatform desktopPlatform(QWidget* parent);

// What goes on the clipboard for `urls` (cut: marked to be moved), and the
// file URLs and that mark read back from it.
class QMimeData;
QMimeData* fileUrlsMimeData(const QList<QUrl>& urls, bool cut = false);
std::optional<QList<QUrl>> fileUrlsFrom(const QMimeData* data);
bool fileUrlsAreCut(const QMimeData* data);
