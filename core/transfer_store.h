#pragma once

#include "transfer_control.h"
#include "transfer_engine.h"
#include "transfer_item.h"
#include "transfer_rate.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

class SerialExecutor;

// How a batch settles names that are taken in its destination.
enum class ConflictPolicy {
    Refuse,   // the job fails, as a plain copy does
    Ask,      // conflictRaised, then answerConflict
    Replace,  // the old item goes to the trash once the new one is complete
    Skip,     // the item is left out
    KeepBoth, // the next free name, "report (2).pdf"
};

// Every copy or move job since the start, run one at a time in queue order.
// Lives on the thread that made it (the GUI thread); the engine reports back
// to it there. Jobs are never removed here: finished ones stay, failed and
// cancelled ones can be retried.
class TransferStore : public QObject {
    Q_OBJECT

public:
    // With the real copy engine.
    explicit TransferStore(QObject* parent = nullptr);
    explicit TransferStore(std::shared_ptr<TransferEngine> engine, QObject* parent = nullptr);
    // Stops the running copy and waits for it to clean up.
    ~TransferStore() override;

    const QList<TransferItem>& items() const { return items_; }
    // For clear-completed: the only outside change of the list.
    void setItems(QList<TransferItem> items);
    std::optional<QUuid> activeID() const;

    // One queued copy per source, in order, as one change of the list; a
    // taken name fails its job.
    void enqueue(const QStringList& sources, const QString& destination);
    // The same for copies or moves, with `onConflict` for taken names.
    // "Apply to all" holds for the rest of this batch.
    void enqueue(const QStringList& sources, const QString& destination, TransferKind kind,
                 ConflictPolicy onConflict);
    // A queued job is cancelled at once; the running one when its copy stops.
    void cancel(const QUuid& id);
    // A failed or cancelled job goes back to the queue in its place.
    void retry(const QUuid& id);

    // The user's word on the conflict the running job waits on (its item's `conflict`).
    void answerConflict(const QUuid& id, ConflictChoice choice);

    // A running job stops between chunks and holds its temporary item; a
    // queued one is passed over until resumed.
    void pause(const QUuid& id);
    void resume(const QUuid& id);
    // The whole queue: the running job holds still and no other starts.
    void setQueuePaused(bool paused);
    bool isQueuePaused() const { return queuePaused_; }
    // Puts a queued job at `position` of the list (the order jobs start in).
    // False for a job that isn't queued or a position outside the list.
    bool moveItem(const QUuid& id, qsizetype position);

    // Bytes still to copy for the running and queued jobs (a queued job's
    // size is measured in the background, so it counts once that is done).
    qint64 remainingBytes() const;
    // An estimate from the speed so far; none before a second of copying.
    std::optional<qint64> remainingSeconds() const;

Q_SIGNALS:
    void itemsChanged();
    // The running job `id` met a taken name and waits for answerConflict.
    void conflictRaised(const QUuid& id, const NameConflict& conflict);
    // A job ended: completed (with its outcome), failed or cancelled.
    void itemFinished(const TransferItem& item);
    void queuePausedChanged(bool paused);
    // remainingBytes or remainingSeconds may read differently.
    void remainingChanged();

private:
    struct Job {
        QUuid id;
        QFuture<TransferOutcome> future;
        std::shared_ptr<TransferControl> control;
    };

    // The way of one batch with taken names, shared by its jobs.
    struct Batch {
        ConflictPolicy policy = ConflictPolicy::Refuse;
        ConflictResolver resolver;
    };

    void startNext();
    std::shared_ptr<ConflictResolver> conflictsFor(const QUuid& id,
                                                   const std::shared_ptr<TransferControl>& control);
    void progressed(const QUuid& id, const CopyProgress& progress);
    void holdClock(bool running);
    void finish(const QUuid& id, const QFuture<TransferOutcome>& future);
    void measure(const TransferItem& item);
    TransferItem* find(const QUuid& id);
    template <typename Change> void change(const QUuid& id, Change apply);

    std::shared_ptr<TransferEngine> engine_;
    QList<TransferItem> items_;
    std::optional<Job> worker_;
    QHash<QUuid, Batch> batches_;
    QHash<QUuid, qint64> measured_;
    // Counts of queued jobs still to come, and the thread that makes them.
    QList<QFuture<qint64>> measuring_;
    std::unique_ptr<SerialExecutor> measurer_;
    bool queuePaused_ = false;
    TransferRate rate_;
    QElapsedTimer clock_;
};
