#include "transfer_store.h"

#include "file_error.h"
#include "log_categories.h"
#include "native_path.h"
#include "serial_executor.h"
#include "transfer_service.h"
#include "tree_walker.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QMetaObject>
#include <sys/stat.h>

namespace {

ConflictResolver resolverFor(ConflictPolicy policy)
{
    switch (policy) {
    case ConflictPolicy::Replace:
        return ConflictResolver::always(ConflictAnswer::Replace);
    case ConflictPolicy::Skip:
        return ConflictResolver::always(ConflictAnswer::Skip);
    case ConflictPolicy::KeepBoth:
        return ConflictResolver::always(ConflictAnswer::KeepBoth);
    case ConflictPolicy::Refuse:
    case ConflictPolicy::Ask:
        break;
    }
    return ConflictResolver();
}

// The bytes of file data below `path`; unreadable parts count nothing.
struct Stopped {};

qint64 sizeOf(const QString& path, const CancelCheck& isCancelled)
{
    qint64 total = 0;
    try {
        TreeWalker::walk(path, true, [&](const TreeWalker::Item& item) {
            if (isCancelled()) throw Stopped();
            if (item.st && S_ISREG(item.st->st_mode)) total += item.st->st_size;
        });
    } catch (const Stopped&) {
        return 0;
    } catch (const FileError&) {
        struct stat st;
        if (::lstat(nativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
            total = st.st_size;
    }
    return total;
}

} // namespace

TransferStore::TransferStore(QObject* parent)
    : TransferStore(std::make_shared<TransferService>(), parent)
{
}

TransferStore::TransferStore(std::shared_ptr<TransferEngine> engine, QObject* parent)
    : QObject(parent), engine_(std::move(engine))
{
}

TransferStore::~TransferStore()
{
    // Counts still walking stop at their next item; none outlives the store.
    for (QFuture<qint64>& count : measuring_)
        count.cancel();
    measurer_.reset();
    if (!worker_) return;
    worker_->control->cancel();
    try {
        worker_->future.waitForFinished();
    } catch (...) {
        // Its outcome has nobody left to show it to.
    }
}

void TransferStore::setItems(QList<TransferItem> items)
{
    items_ = std::move(items);
    Q_EMIT itemsChanged();
}

std::optional<QUuid> TransferStore::activeID() const
{
    return worker_ ? std::optional(worker_->id) : std::nullopt;
}

void TransferStore::enqueue(const QStringList& sources, const QString& destination)
{
    enqueue(sources, destination, TransferKind::Copy, ConflictPolicy::Refuse);
}

void TransferStore::enqueue(const QStringList& sources, const QString& destination,
                            TransferKind kind, ConflictPolicy onConflict)
{
    const Batch batch{onConflict, resolverFor(onConflict)};
    for (const QString& source : sources) {
        TransferItem item(source, destination);
        item.kind = kind;
        batches_.insert(item.id, batch);
        items_.append(item);
        measure(item);
    }
    Q_EMIT itemsChanged();
    startNext();
}

void TransferStore::cancel(const QUuid& id)
{
    const TransferItem* item = find(id);
    if (!item) return;
    if (worker_ && worker_->id == id) {
        worker_->control->cancel();
        return;
    }
    if (item->status == TransferStatus::Queued)
        change(id, [](TransferItem& i) {
            i.status = TransferStatus::Cancelled;
            i.paused = false; // a retry starts it as any other
        });
}

void TransferStore::retry(const QUuid& id)
{
    const TransferItem* item = find(id);
    if (!item ||
        (item->status != TransferStatus::Failed && item->status != TransferStatus::Cancelled))
        return;
    change(id, [](TransferItem& i) { i.status = TransferStatus::Queued; });
    change(id, [](TransferItem& i) { i.error.reset(); });
    change(id, [](TransferItem& i) { i.bytes = 0; });
    startNext();
}

void TransferStore::answerConflict(const QUuid& id, ConflictChoice choice)
{
    const TransferItem* item = find(id);
    if (!worker_ || worker_->id != id || !item || !item->conflict) return;
    change(id, [](TransferItem& i) { i.conflict.reset(); });
    worker_->control->answer(choice);
}

void TransferStore::pause(const QUuid& id)
{
    const TransferItem* item = find(id);
    if (!item || item->paused ||
        (item->status != TransferStatus::Queued && item->status != TransferStatus::Copying))
        return;
    if (worker_ && worker_->id == id) {
        worker_->control->pause();
        holdClock(false);
    }
    change(id, [](TransferItem& i) { i.paused = true; });
}

void TransferStore::resume(const QUuid& id)
{
    const TransferItem* item = find(id);
    if (!item || !item->paused) return;
    change(id, [](TransferItem& i) { i.paused = false; });
    if (worker_ && worker_->id == id && !queuePaused_) {
        worker_->control->resume();
        holdClock(true);
    }
    startNext();
}

void TransferStore::setQueuePaused(bool paused)
{
    if (paused == queuePaused_) return;
    queuePaused_ = paused;
    if (worker_) {
        const TransferItem* running = find(worker_->id);
        if (paused) {
            worker_->control->pause();
            holdClock(false);
        } else if (!running || !running->paused) {
            worker_->control->resume();
            holdClock(true);
        }
    }
    Q_EMIT queuePausedChanged(paused);
    startNext();
}

bool TransferStore::moveItem(const QUuid& id, qsizetype position)
{
    const TransferItem* item = find(id);
    if (!item || item->status != TransferStatus::Queued || position < 0 ||
        position >= items_.size())
        return false;
    items_.move(item - items_.constData(), position);
    Q_EMIT itemsChanged();
    startNext();
    return true;
}

qint64 TransferStore::remainingBytes() const
{
    qint64 remaining = 0;
    for (const TransferItem& item : items_) {
        if (item.status == TransferStatus::Copying && item.total > 0)
            remaining += qMax<qint64>(0, item.total - item.bytes);
        else if (item.status == TransferStatus::Copying || item.status == TransferStatus::Queued)
            remaining += measured_.value(item.id);
    }
    return remaining;
}

std::optional<qint64> TransferStore::remainingSeconds() const
{
    return rate_.secondsFor(remainingBytes());
}

void TransferStore::startNext()
{
    if (worker_ || queuePaused_) return;
    const auto next = std::find_if(items_.cbegin(), items_.cend(), [](const TransferItem& i) {
        return i.status == TransferStatus::Queued && !i.paused;
    });
    if (next == items_.cend()) return;
    const TransferItem job = *next;
    auto control = std::make_shared<TransferControl>();
    worker_ = Job{job.id, {}, control};
    change(job.id, [](TransferItem& i) { i.status = TransferStatus::Copying; });
    qCDebug(lcTransfers) << "start" << job.source << "into" << job.destinationFolder;
    holdClock(true);

    // Called on the engine's thread: hop back here before touching the list.
    auto progress = [this, id = job.id](const CopyProgress& p) {
        QMetaObject::invokeMethod(
            this, [this, id, p] { progressed(id, p); }, Qt::QueuedConnection);
    };
    TransferEngine::Handlers handlers{std::move(progress),
                                      [control] { return control->checkpoint(); },
                                      conflictsFor(job.id, control)};
    QFuture<TransferOutcome> future =
        engine_->transfer({job.source, job.destinationFolder, job.kind}, std::move(handlers));
    worker_->future = future;
    auto* watcher = new QFutureWatcher<TransferOutcome>(this);
    connect(watcher, &QFutureWatcher<TransferOutcome>::finished, this,
            [this, watcher, id = job.id] {
                watcher->deleteLater();
                finish(id, watcher->future());
            });
    watcher->setFuture(future);
}

std::shared_ptr<ConflictResolver>
TransferStore::conflictsFor(const QUuid& id, const std::shared_ptr<TransferControl>& control)
{
    const auto batch = batches_.constFind(id);
    if (batch == batches_.cend() || batch->policy == ConflictPolicy::Refuse) return nullptr;
    if (batch->policy != ConflictPolicy::Ask)
        return std::make_shared<ConflictResolver>(batch->resolver);
    // Asked on the engine's thread: the question goes to this thread, the copy waits.
    auto ask = [this, id, control](const NameConflict& conflict) {
        QMetaObject::invokeMethod(
            this,
            [this, id, conflict] {
                change(id, [&](TransferItem& i) { i.conflict = conflict; });
                Q_EMIT conflictRaised(id, conflict);
            },
            Qt::QueuedConnection);
        const std::optional<ConflictChoice> choice = control->waitForAnswer();
        if (!choice) throw Cancelled();
        return *choice;
    };
    return std::make_shared<ConflictResolver>(batch->resolver.askingThrough(std::move(ask)));
}

void TransferStore::progressed(const QUuid& id, const CopyProgress& progress)
{
    const TransferItem* item = find(id);
    if (!item) return;
    if (clock_.isValid()) rate_.add(progress.bytes - item->bytes, clock_.restart());
    change(id, [&](TransferItem& i) {
        i.bytes = progress.bytes;
        i.total = progress.total;
    });
}

void TransferStore::holdClock(bool running)
{
    if (clock_.isValid()) rate_.add(0, clock_.elapsed());
    if (running)
        clock_.start();
    else
        clock_.invalidate();
}

void TransferStore::finish(const QUuid& id, const QFuture<TransferOutcome>& future)
{
    // A failure also marks the future cancelled, so look for one first.
    std::optional<QString> failure;
    std::optional<TransferOutcome> outcome;
    try {
        QFuture<TransferOutcome> done(future);
        done.waitForFinished();
        if (!done.isCanceled() && done.resultCount() > 0) outcome = done.result();
    } catch (const FileError& error) {
        failure = error.message();
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    } catch (...) {
        failure =
            QCoreApplication::translate("TransferStore", "The copy failed for an unknown reason.");
    }
    holdClock(false);
    if (failure)
        qCDebug(lcTransfers) << "failed:" << *failure;
    else
        qCDebug(lcTransfers) << (future.isCanceled() ? "cancelled" : "completed");
    change(id, [&](TransferItem& i) {
        i.conflict.reset();
        i.paused = false;
        if (failure) {
            i.status = TransferStatus::Failed;
            i.error = failure;
        } else {
            i.status = future.isCanceled() ? TransferStatus::Cancelled : TransferStatus::Completed;
            i.outcome = outcome;
        }
    });
    worker_.reset();
    if (const TransferItem* item = find(id)) Q_EMIT itemFinished(*item);
    startNext();
}

void TransferStore::measure(const TransferItem& item)
{
    // A watcher owned by the store, not then(this, …): Qt 6.4 asserts in a
    // continuation whose context is gone, and a store can go before its count.
    // One walk at a time on a thread of the store's own: the disk is one.
    // Its thread starts with the first job to measure; a store that never queues has none.
    if (!measurer_) measurer_ = std::make_unique<SerialExecutor>();
    QFuture<qint64> count = measurer_->run([source = item.source](const CancelCheck& isCancelled) {
        return sizeOf(source, isCancelled);
    });
    measuring_.append(count);
    auto* watcher = new QFutureWatcher<qint64>(this);
    connect(watcher, &QFutureWatcher<qint64>::finished, this, [this, watcher, id = item.id] {
        watcher->deleteLater();
        measuring_.removeIf([](const QFuture<qint64>& f) { return f.isFinished(); });
        if (watcher->future().resultCount() == 0) return;
        measured_.insert(id, watcher->result());
        Q_EMIT remainingChanged();
    });
    watcher->setFuture(count);
}

TransferItem* TransferStore::find(const QUuid& id)
{
    for (TransferItem& item : items_)
        if (item.id == id) return &item;
    return nullptr;
}

template <typename Change> void TransferStore::change(const QUuid& id, Change apply)
{
    TransferItem* item = find(id);
    if (!item) return;
    apply(*item);
    Q_EMIT itemsChanged();
    Q_EMIT remainingChanged();
}
