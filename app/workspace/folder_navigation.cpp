#include "workspace/folder_navigation.h"

#include "file_service.h"
#include "when_finished.h"
#include "workspace/failure_message.h"
#include "workspace/settings.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

FolderNavigation::FolderNavigation(FileService& service, QObject* parent)
    : QObject(parent), service_(service)
{
    connect(&watch_, &FolderWatch::changed, this, &FolderNavigation::changedOnDisk);
}

void FolderNavigation::leave(const QString& from)
{
    if (walkingHistory_) return;
    history_.visit(from);
    Q_EMIT historyChanged();
}

void FolderNavigation::list(const QString& folder)
{
    load(
        folder, [this](QList<FileEntry> files) { Q_EMIT listed(std::move(files)); },
        [this](const QString& message) { Q_EMIT listingFailed(message); });
}

void FolderNavigation::relist(const QString& folder, const QString& reveal)
{
    load(
        folder,
        [this, reveal](QList<FileEntry> files) { Q_EMIT relisted(std::move(files), reveal); },
        [this, folder](const QString& message) {
            if (QFileInfo(folder).isDir()) {
                Q_EMIT relistFailed(message);
                return;
            }
            // The folder itself went away: show the nearest one that is still there.
            QString parent = folder;
            while (!QFileInfo(parent).isDir() && parent != QDir::rootPath())
                parent = QFileInfo(parent).path();
            walk(parent);
        });
}

void FolderNavigation::stopFollowing()
{
    listingShown_ = false;
    watch_.stop();
}

void FolderNavigation::walk(const std::optional<QString>& to)
{
    if (!to) return;
    // A step through the history is not a new visit.
    const bool walking = std::exchange(walkingHistory_, true);
    Q_EMIT showRequested(*to);
    walkingHistory_ = walking;
    Q_EMIT historyChanged();
}

void FolderNavigation::load(const QString& folder, std::function<void(QList<FileEntry>)> done,
                            std::function<void(const QString&)> failed)
{
    const TaskSlot::Ticket ticket = loadTask_.start();
    QFuture<QList<FileEntry>> listing = service_.contents(folder, Settings::showHidden());
    loadTask_.onCancel([listing]() mutable { listing.cancel(); });
    whenFinished(listing, this,
                 [this, ticket, done = std::move(done),
                  failed = std::move(failed)](QFuture<QList<FileEntry>> finished) {
                     if (ticket.isCancelled()) return;
                     loadTask_.finish(ticket);
                     QList<FileEntry> files;
                     if (succeeds([&] { files = finished.result(); }, failed))
                         done(std::move(files));
                 });
}
