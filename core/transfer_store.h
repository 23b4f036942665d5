#pragma once

#include "transfer_engine.h"
#include "transfer_item.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <memory>
#include <optional>

// Every copy job since the start, run one at a time in queue order. Lives on
// the thread that made it (the GUI thread); the engine reports back to it
// there. Jobs are never removed here: finished ones stay, failed and
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

    // One queued job per source, in order, as one change of the list.
    void enqueue(const QStringList& sources, const QString& destination);
    // A queued job is cancelled at once; the running one when its copy stops.
    void cancel(const QUuid& id);
    // A failed or cancelled job goes back to the queue in its place.
    void retry(const QUuid& id);

Q_SIGNALS:
    void itemsChanged();

private:
    struct Job {
        QUuid id;
        QFuture<void> future;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };

    void startNext();
    void finish(const QUuid& id, const QFuture<void>& future);
    TransferItem* find(const QUuid& id);
    template <typename Change> void change(const QUuid& id, Change apply);

    std::shared_ptr<TransferEngine> engine_;
    QList<TransferItem> items_;
    std::optional<Job> worker_;
};
