#include "workspace/folder_watch.h"

FolderWatch::FolderWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, &FolderWatch::changed);
    // Not restarted by later changes: a steady stream of them still shows up in time.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (!settle_.isActive()) settle_.start();
    });
}

void FolderWatch::watch(const QString& folder)
{
    if (folder == folder_ && !watcher_.directories().isEmpty()) return;
    stop();
    // A folder that cannot be watched (no inotify slots left) is simply not followed.
    if (watcher_.addPath(folder)) folder_ = folder;
}

void FolderWatch::stop()
{
    settle_.stop();
    if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
    folder_.clear();
}
