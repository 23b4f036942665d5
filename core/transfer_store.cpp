#include "transfer_store.h"

#include "file_error.h"
#include "transfer_service.h"

#include <QFutureWatcher>
#include <QMetaObject>

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
    if (!worker_) return;
    worker_->cancelled->store(true);
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
    for (const QString& source : sources)
        items_.append(TransferItem(source, destination));
    Q_EMIT itemsChanged();
    startNext();
}

void TransferStore::cancel(const QUuid& id)
{
    const TransferItem* item = find(id);
    if (!item) return;
    if (worker_ && worker_->id == id) {
        worker_->cancelled->store(true);
        return;
    }
    if (item->status == TransferStatus::Queued)
        change(id, [](TransferItem& i) { i.status = TransferStatus::Cancelled; });
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

void TransferStore::startNext()
{
    if (worker_) return;
    const auto next = std::find_if(items_.cbegin(), items_.cend(), [](const TransferItem& i) {
        return i.status == TransferStatus::Queued;
    });
    if (next == items_.cend()) return;
    const TransferItem job = *next;
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    worker_ = Job{job.id, {}, cancelled};
    change(job.id, [](TransferItem& i) { i.status = TransferStatus::Copying; });

    // Called on the engine's thread: hop back here before touching the list.
    auto progress = [this, id = job.id](const CopyProgress& p) {
        QMetaObject::invokeMethod(
            this,
            [this, id, p] {
                change(id, [&](TransferItem& i) {
                    i.bytes = p.bytes;
                    i.total = p.total;
                });
            },
            Qt::QueuedConnection);
    };
    QFuture<void> future = engine_->start(job.source, job.destinationFolder, std::move(progress),
                                          [cancelled] { return cancelled->load(); });
    worker_->future = future;
    auto* watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher, id = job.id] {
        watcher->deleteLater();
        finish(id, watcher->future());
    });
    watcher->setFuture(future);
}

void TransferStore::finish(const QUuid& id, const QFuture<void>& future)
{
    // A failure also marks the future cancelled, so look for one first.
    std::optional<QString> failure;
    try {
        QFuture<void>(future).waitForFinished();
    } catch (const FileError& error) {
        failure = error.message();
    } catch (const std::exception& error) {
        failure = QString::fromLocal8Bit(error.what());
    } catch (...) {
        failure = QStringLiteral("The copy failed for an unknown reason.");
    }
    change(id, [&](TransferItem& i) {
        if (failure) {
            i.status = TransferStatus::Failed;
            i.error = failure;
        } else {
            i.status = future.isCanceled() ? TransferStatus::Cancelled : TransferStatus::Completed;
        }
    });
    worker_.reset();
    startNext();
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
}
