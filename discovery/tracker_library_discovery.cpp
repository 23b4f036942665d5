#include "tracker_library_discovery.h"

#include "discovery_log.h"
#include "distant_past.h"
#include "file_entry.h"
#include "tracker_file_index.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QTimer>

struct TrackerLibraryDiscovery::Pass {
    QUuid token;
    QFuture<IndexResults> future;
    QFutureWatcher<IndexResults> watcher; // wakes the pass when a page arrives
    int pagesTaken = 0;
    QList<IndexedItem> page; // the page being converted
    qsizetype index = 0;     // in `page`
    bool gathering = false;  // as the last page says
    bool sliceQueued = false;
    LibrarySnapshot snapshot;
    std::optional<QElapsedTimer> sinceInterim; // none until the first interim snapshot
    qsizetype shown = 0;                       // files in the last interim snapshot
};

QString TrackerLibraryDiscovery::unavailableMessage()
{
    return QStringLiteral(
        "System-wide discovery is unavailable. Try Refresh or choose an optional folder to scan.");
}

bool looksLikeScreenCapture(const QString& name)
{
    return name.contains(u"screenshot", Qt::CaseInsensitive) ||
           name.contains(u"screen shot", Qt::CaseInsensitive);
}

TrackerLibraryDiscovery::TrackerLibraryDiscovery(std::unique_ptr<FileIndex> index)
    : index_(index ? std::move(index) : std::make_unique<TrackerFileIndex>())
{
}

TrackerLibraryDiscovery::~TrackerLibraryDiscovery()
{
    stop();
}

void TrackerLibraryDiscovery::start(MediaKind kind, bool screenshotsOnly, Receiver receive)
{
    stop();
    receive_ = std::move(receive);
    screenshotsOnly_ = screenshotsOnly;
    if (!index_->start(kind, [this] { queryChanged(); })) {
        // Stays stopped until the next start; nothing retries by itself.
        qCWarning(lcDiscovery) << "the file index did not start";
        if (receive_) receive_(LibrarySnapshot{{}, {}, false, unavailableMessage()});
        return;
    }
    running_ = true;
    queryChanged(); // the first gathering
}

void TrackerLibraryDiscovery::stop()
{
    generation_ = QUuid::createUuid();
    if (pass_) pass_->future.cancel(); // ends the read of the index
    pass_.reset();
    needsSnapshot_ = false;
    passRunning_ = false;
    if (running_) index_->stop();
    running_ = false;
    receive_ = nullptr;
}

void TrackerLibraryDiscovery::queryChanged()
{
    if (!running_) return;
    needsSnapshot_ = true;
    if (passRunning_) return; // the running pass will see the flag
    passRunning_ = true;
    runPasses(generation_);
}

void TrackerLibraryDiscovery::runPasses(QUuid token)
{
    if (!isCurrent(token)) return;
    if (!needsSnapshot_) {
        passRunning_ = false;
        return;
    }
    needsSnapshot_ = false;
    auto pass = std::make_shared<Pass>();
    pass->token = token;
    pass->future = index_->results();
    // The watcher belongs to the pass, so its handlers hold the pass weakly.
    const std::weak_ptr<Pass> weak = pass;
    auto wake = [this, weak] {
        if (auto live = weak.lock(); live && !live->sliceQueued) convertSlice(live);
    };
    connect(&pass->watcher, &QFutureWatcherBase::resultsReadyAt, this, wake);
    connect(&pass->watcher, &QFutureWatcherBase::finished, this, wake);
    pass_ = pass;
    pass->watcher.setFuture(pass->future);
}

bool TrackerLibraryDiscovery::takePage(Pass& pass)
{
    if (pass.pagesTaken >= pass.future.resultCount()) return false;
    const IndexResults& next = pass.future.resultAt(pass.pagesTaken++);
    pass.page = next.items;
    pass.gathering = next.gathering;
    pass.index = 0;
    return true;
}

void TrackerLibraryDiscovery::convertSlice(std::shared_ptr<Pass> pass)
{
    if (!isCurrent(pass->token) || pass_ != pass) return;
    QElapsedTimer slice;
    slice.start();
    bool drained = false;
    try {
        for (int converted = 0; converted < sliceCount;) {
            if (pass->index >= pass->page.size()) {
                if (takePage(*pass)) continue;
                drained = true;
                break;
            }
            const IndexedItem& item = pass->page[pass->index++];
            ++converted;
            const QString name = QFileInfo(item.path).fileName();
            const bool capture = item.isScreenCapture || looksLikeScreenCapture(name);
            if (!screenshotsOnly_ || capture) {
                pass->snapshot.files.append(FileEntry::indexed(
                    item.path, item.size, item.modified.value_or(distantPast()), item.isDirectory));
                if (capture) pass->snapshot.screenshots.insert(item.path);
            }
            if (slice.nsecsElapsed() >= sliceNs) break;
        }
        if (drained && pass->future.isFinished()) {
            pass->future.waitForFinished(); // throws what the read threw
            if (pass->future.resultCount() > pass->pagesTaken) drained = false;
        }
    } catch (...) {
        qCWarning(lcDiscovery) << "reading the file index failed";
        pass_.reset();
        if (receive_) receive_(LibrarySnapshot{{}, {}, false, unavailableMessage()});
        passEnded(pass->token);
        return;
    }
    if (drained && pass->future.isFinished()) {
        pass_.reset();
        pass->snapshot.gathering = pass->gathering;
        qCDebug(lcDiscovery) << "snapshot of" << pass->snapshot.files.size() << "files"
                             << (pass->gathering ? "(still gathering)" : "(final)");
        if (receive_) receive_(pass->snapshot);
        passEnded(pass->token);
        return;
    }
    // Everything the index has sent so far is shown before waiting for more.
    const bool interimDue =
        drained || !pass->sinceInterim || pass->sinceInterim->elapsed() >= interimIntervalMs;
    if (interimDue && pass->snapshot.files.size() > pass->shown) {
        pass->shown = pass->snapshot.files.size();
        if (receive_)
            receive_(LibrarySnapshot{pass->snapshot.files, pass->snapshot.screenshots, true,
                                     std::nullopt});
        pass->sinceInterim.emplace();
        pass->sinceInterim->start();
    }
    // Drained: the watcher wakes the pass when the index sends more.
    if (drained) return;
    // Give the window its turn before the next slice.
    pass->sliceQueued = true;
    QTimer::singleShot(1, Qt::PreciseTimer, this, [this, pass] {
        pass->sliceQueued = false;
        convertSlice(pass);
    });
}

void TrackerLibraryDiscovery::passEnded(const QUuid& token)
{
    if (!isCurrent(token)) return;
    runPasses(token);
}
