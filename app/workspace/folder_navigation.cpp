#include "workspace/folder_navigation.h"

#include "file_service.h"
#include "workspace/failure_message.h"
#include "workspace/settings.h"
#include "workspace/workspace_log.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFutureWatcher>
#include <memory>
#include <utility>

namespace {

// Moves the part at `at` out of the future's store instead of copying it: the
// receiver then holds the only copy, and the store, freed on this thread,
// holds nothing large. The store keeps each result at one address, and the
// listing adds results without touching those already there.
QList<FileEntry> takePart(const QFuture<QList<FileEntry>>& future, int at)
{
    const QList<FileEntry>& stored = *(future.constBegin() + at);
    return std::move(const_cast<QList<FileEntry>&>(stored));
}

} // namespace

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

void FolderNavigation::list(const QString& folder, bool inParts)
{
    auto failed = [this](const QString& message) { Q_EMIT listingFailed(message); };
    if (!inParts) {
        load(
            folder,
            [this](QList<FileEntry> files) {
                Q_EMIT listed(std::move(files));
                Q_EMIT listingFinished();
            },
            failed);
        return;
    }
    loadInParts(
        folder,
        [this](QList<FileEntry> files, bool first) {
            if (first)
                Q_EMIT listed(std::move(files));
            else
                Q_EMIT listingGrew(std::move(files));
        },
        [this] { Q_EMIT listingFinished(); }, failed);
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
    auto files = std::make_shared<QList<FileEntry>>();
    loadInParts(
        folder,
        [files](QList<FileEntry> part, bool first) {
            if (first)
                *files = std::move(part);
            else
                files->append(std::move(part));
        },
        [files, done = std::move(done)] { done(std::move(*files)); }, std::move(failed));
}

void FolderNavigation::loadInParts(const QString& folder,
                                   std::function<void(QList<FileEntry>, bool)> part,
                                   std::function<void()> done,
                                   std::function<void(const QString&)> failed)
{
    const TaskSlot::Ticket ticket = loadTask_.start();
    qCDebug(lcWorkspace) << "listing" << folder;
    listingStarted_ = QDateTime::currentDateTimeUtc();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QFuture<QList<FileEntry>> listing = service_.listing(folder, Settings::showHidden());
    loadTask_.onCancel([listing]() mutable { listing.cancel(); });
    // The watcher holds the parts until the end; each goes out once, in order,
    // one per event-loop turn, so that no turn takes longer than one part's work.
    auto* watcher = new QFutureWatcher<QList<FileEntry>>(this);
    auto handedOut = std::make_shared<int>(0);
    auto turn = std::make_shared<std::function<void()>>();
    auto scheduled = std::make_shared<bool>(false);
    // The watcher's own finished call may still be queued after a turn has ended the listing.
    auto ended = std::make_shared<bool>(false);
    auto nextTurn = [watcher, weakTurn = std::weak_ptr(turn), scheduled] {
        if (std::exchange(*scheduled, true)) return;
        QMetaObject::invokeMethod(
            watcher,
            [weakTurn, scheduled] {
                *scheduled = false;
                if (const auto step = weakTurn.lock()) (*step)();
            },
            Qt::QueuedConnection);
    };
    *turn = [this, watcher, ticket, handedOut, ended, clock, folder, nextTurn,
             part = std::move(part), done = std::move(done), failed = std::move(failed)] {
        if (*ended) return;
        QFuture<QList<FileEntry>> future = watcher->future();
        // A part's receiver may start another listing: stop handing out then.
        if (ticket.isCancelled()) {
            if (future.isFinished()) {
                *ended = true;
                qCDebug(lcWorkspace)
                    << "listing" << folder << "cancelled after" << clock->elapsed() << "ms";
                watcher->deleteLater();
            }
            return;
        }
        if (*handedOut < future.resultCount()) {
            const int at = (*handedOut)++;
            QList<FileEntry> files = takePart(future, at);
            qCDebug(lcWorkspace) << "part" << at << "of" << files.size() << "entries after"
                                 << clock->elapsed() << "ms";
            part(std::move(files), at == 0);
            if (*handedOut < future.resultCount() || future.isFinished()) nextTurn();
            return;
        }
        if (!future.isFinished()) return;
        *ended = true;
        watcher->deleteLater();
        qCDebug(lcWorkspace) << "listing" << folder << "ended after" << clock->elapsed() << "ms";
        loadTask_.finish(ticket);
        if (succeeds([&] { future.waitForFinished(); }, failed) && !future.isCanceled()) done();
    };
    // The watcher's calls only ask for a turn: several of them queued while
    // this thread was busy would otherwise hand out a part each in one go.
    // The connections keep the turn alive as long as the watcher.
    connect(watcher, &QFutureWatcherBase::resultsReadyAt, this, [turn, nextTurn] { nextTurn(); });
    connect(watcher, &QFutureWatcherBase::finished, this, [turn, nextTurn] { nextTurn(); });
    watcher->setFuture(listing);
}
