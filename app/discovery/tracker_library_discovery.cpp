#include "tracker_library_discovery.h"

#include "distant_past.h"
#include "file_entry.h"
#include "tracker_file_index.h"
#include "when_finished.h"

#include <QFileInfo>
#include <QTimer>

struct TrackerLibraryDiscovery::Pass {
    QUuid token;
    IndexResults results;
    qsizetype index = 0;
    LibrarySnapshot snapshot;
    std::optional<QElapsedTimer> sinceInterim; // none until the first interim snapshot
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
        if (receive_) receive_(LibrarySnapshot{{}, {}, false, unavailableMessage()});
        return;
    }
    running_ = true;
    queryChanged(); // the first gathering
}

void TrackerLibraryDiscovery::stop()
{
    generation_ = QUuid::createUuid();
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
    whenFinished(index_->results(), this, [this, token](QFuture<IndexResults> done) {
        if (!isCurrent(token)) return;
        IndexResults results;
        try {
            results = done.result();
        } catch (...) {
            if (receive_) receive_(LibrarySnapshot{{}, {}, false, unavailableMessage()});
            passEnded(token);
            return;
        }
        auto pass = std::make_shared<Pass>();
        pass->token = token;
        pass->results = std::move(results);
        pass->snapshot.files.reserve(pass->results.items.size());
        convertSlice(pass);
    });
}

void TrackerLibraryDiscovery::convertSlice(std::shared_ptr<Pass> pass)
{
    if (!isCurrent(pass->token)) return;
    const QList<IndexedItem>& items = pass->results.items;
    if (pass->index >= items.size()) {
        pass->snapshot.gathering = pass->results.gathering;
        if (receive_) receive_(pass->snapshot);
        passEnded(pass->token);
        return;
    }
    QElapsedTimer slice;
    slice.start();
    const qsizetype end = std::min(items.size(), pass->index + sliceCount);
    while (pass->index < end) {
        const IndexedItem& item = items[pass->index++];
        const QString name = QFileInfo(item.path).fileName();
        const bool capture = item.isScreenCapture || looksLikeScreenCapture(name);
        if (!screenshotsOnly_ || capture) {
            pass->snapshot.files.append(FileEntry::indexed(
                item.path, item.size, item.modified.value_or(distantPast()), item.isDirectory));
            if (capture) pass->snapshot.screenshots.insert(item.path);
        }
        if (slice.nsecsElapsed() >= sliceNs) break;
    }
    const bool interimDue =
        !pass->sinceInterim || pass->sinceInterim->elapsed() >= interimIntervalMs;
    if (interimDue && !pass->snapshot.files.isEmpty()) {
        if (receive_)
            receive_(LibrarySnapshot{pass->snapshot.files, pass->snapshot.screenshots, true,
                                     std::nullopt});
        pass->sinceInterim.emplace();
        pass->sinceInterim->start();
    }
    // Give the window its turn before the next slice.
    QTimer::singleShot(1, Qt::PreciseTimer, this, [this, pass] { convertSlice(pass); });
}

void TrackerLibraryDiscovery::passEnded(const QUuid& token)
{
    if (!isCurrent(token)) return;
    runPasses(token);
}
