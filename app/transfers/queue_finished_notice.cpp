#include "transfers/queue_finished_notice.h"

#include "transfer_store.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <algorithm>

QueueFinishedNotice::QueueFinishedNotice(TransferStore& store, std::function<bool()> windowActive,
                                         qint64 longEnough, QObject* parent)
    : QObject(parent), store_(&store), windowActive_(std::move(windowActive)),
      longEnough_(longEnough)
{
    connect(&store, &TransferStore::itemsChanged, this, [this] {
        if (busy() && !running_.isValid()) running_.start();
    });
    // The store tells of a job's end after the list change that ends it.
    connect(&store, &TransferStore::itemFinished, this, [this](const TransferItem& item) {
        completed_ += item.status == TransferStatus::Completed;
        failed_ += item.status == TransferStatus::Failed;
        if (!busy()) finished();
    });
}

bool QueueFinishedNotice::busy() const
{
    if (!store_) return false;
    const QList<TransferItem>& items = store_->items();
    return std::any_of(items.cbegin(), items.cend(), [](const TransferItem& item) {
        return item.status == TransferStatus::Queued || item.status == TransferStatus::Copying;
    });
}

QString QueueFinishedNotice::summaryOf(int completed, int failed)
{
    // One item keeps its own wording; other counts take the translation's plural forms.
    const QString copied =
        completed == 1 ? tr("1 item copied") : tr("%n items copied", nullptr, completed);
    return failed > 0 ? tr("%1, %n failed", "items copied, items failed", failed).arg(copied)
                      : copied;
}

void QueueFinishedNotice::finished()
{
    const bool tell = running_.isValid() && running_.elapsed() >= longEnough_ &&
                      completed_ + failed_ > 0 && !windowActive_();
    const QString body = summaryOf(completed_, failed_);
    running_.invalidate();
    completed_ = failed_ = 0;
    if (!tell) return;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Quorvane") << uint(0) << QStringLiteral("quorvane")
           << tr("Transfers finished") << body << QStringList() << QVariantMap() << int(-1);
    // No answer is awaited: a desktop without notifications just doesn't show one.
    QDBusConnection::sessionBus().send(notify);
}
