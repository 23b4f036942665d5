#include "workspace/folder_watch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace {
// The kernel stamps changes with a clock that may lag the wall clock by a tick.
constexpr int clockTickMs = 20;
} // namespace

FolderWatch::FolderWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(settleMs);
    connect(&settle_, &QTimer::timeout, this, &FolderWatch::changed);
}

FolderWatch::~FolderWatch()
{
    thread_.quit();
    thread_.wait();
}

void FolderWatch::seen(const QString& folder)
{
    // Not restarted by later changes: a steady stream of them still shows up in time.
    if (folder == folder_ && !settle_.isActive()) settle_.start();
}

void FolderWatch::watch(const QString& folder, const QDateTime& listedAt)
{
    if (folder == folder_) return;
    stop();
    folder_ = folder;
    if (!watcher_) {
        watcher_ = new QFileSystemWatcher;
        watcher_->moveToThread(&thread_);
        connect(&thread_, &QThread::finished, watcher_, &QObject::deleteLater);
        connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderWatch::seen);
        thread_.setObjectName(QStringLiteral("folder watch"));
        thread_.start();
    }
    QMetaObject::invokeMethod(
        watcher_,
        [this, watcher = watcher_, folder, listedAt] {
            const bool set = watcher->addPath(folder);
            const QFileInfo now(folder);
            // Gone before the watch was set: that is a change too.
            const bool gone = !set && !now.isDir();
            const bool missed =
                set && listedAt.isValid() && now.lastModified() >= listedAt.addMSecs(-clockTickMs);
            QMetaObject::invokeMethod(
                this,
                [this, folder, set, gone, missed] {
                    if (folder != folder_) return;
                    if (gone) {
                        seen(folder);
                        return;
                    }
                    // A folder that cannot be watched (no inotify slots left) is simply not
                    // followed.
                    if (!set) {
                        folder_.clear();
                        return;
                    }
                    watching_ = true;
                    Q_EMIT watching();
                    if (missed) seen(folder);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void FolderWatch::stop()
{
    settle_.stop();
    watching_ = false;
    if (folder_.isEmpty()) return;
    QMetaObject::invokeMethod(
        watcher_,
        [watcher = watcher_] {
            if (!watcher->directories().isEmpty()) watcher->removePaths(watcher->directories());
        },
        Qt::QueuedConnection);
    folder_.clear();
}
