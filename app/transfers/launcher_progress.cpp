#include "transfers/launcher_progress.h"

#include "transfer_store.h"

#include <QDBusConnection>
#include <QDBusMessage>

LauncherProgress::LauncherProgress(TransferStore& store, QObject* parent)
    : QObject(parent), store_(&store)
{
    connect(&store, &TransferStore::itemsChanged, this, &LauncherProgress::update);
    connect(&store, &TransferStore::remainingChanged, this, &LauncherProgress::update);
}

void LauncherProgress::update()
{
    if (!store_) return;
    qsizetype count = 0;
    for (const TransferItem& item : store_->items())
        count += item.status == TransferStatus::Queued || item.status == TransferStatus::Copying;
    const qint64 remaining = store_->remainingBytes();
    peak_ = count == 0 ? 0 : std::max(peak_, remaining);
    const int percent = peak_ > 0 ? int((peak_ - remaining) * 100 / peak_) : 0;
    // Progress comes many times a second; the launcher hears only what it would show.
    if (percent == shownPercent_ && count == shownCount_) return;
    shownPercent_ = percent;
    shownCount_ = count;
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(path), QStringLiteral("com.canonical.Unity.LauncherEntry"),
        QStringLiteral("Update"));
    signal << QString::fromLatin1(appUri)
           << QVariantMap{{QStringLiteral("progress"), percent / 100.0},
                          {QStringLiteral("progress-visible"), count > 0},
                          {QStringLiteral("count"), qint64(count)},
                          {QStringLiteral("count-visible"), count > 0}};
    QDBusConnection::sessionBus().send(signal);
}
