#pragma once

#include "name_conflict.h"
#include "raw_enum.h"
#include "transfer_outcome.h"

#include <QFileInfo>
#include <QString>
#include <QUuid>
#include <optional>

enum class TransferStatus { Queued, Copying, Completed, Failed, Cancelled };

template <> struct RawValues<TransferStatus> {
    static constexpr std::array<std::pair<TransferStatus, const char*>, 5> cases{{
        {TransferStatus::Queued, QT_TRANSLATE_NOOP("TransferStatus", "Queued")},
        {TransferStatus::Copying, QT_TRANSLATE_NOOP("TransferStatus", "Copying")},
        {TransferStatus::Completed, QT_TRANSLATE_NOOP("TransferStatus", "Completed")},
        {TransferStatus::Failed, QT_TRANSLATE_NOOP("TransferStatus", "Failed")},
        {TransferStatus::Cancelled, QT_TRANSLATE_NOOP("TransferStatus", "Cancelled")},
    }};
};

// One copy job of the transfer queue, as shown to the user.
struct TransferItem {
    QUuid id = QUuid::createUuid();
    QString source;
    QString destinationFolder;
    TransferStatus status = TransferStatus::Queued;
    qint64 bytes = 0;
    qint64 total = 0;
    // The failure's own description; set only for a failed job.
    std::optional<QString> error;
    TransferKind kind = TransferKind::Copy;
    // Held by the user: a queued job waits, a running one stops between chunks.
    bool paused = false;
    // A taken name the job waits to hear about (see TransferStore::answerConflict).
    std::optional<NameConflict> conflict;
    // Where a completed job put its items.
    std::optional<TransferOutcome> outcome;

    TransferItem(QString source, QString destinationFolder,
                 TransferStatus status = TransferStatus::Queued, qint64 bytes = 0, qint64 total = 0,
                 std::optional<QString> error = std::nullopt)
        : source(std::move(source)), destinationFolder(std::move(destinationFolder)),
          status(status), bytes(bytes), total(total), error(std::move(error))
    {
    }

    // The job's name, which is also the name the copy will have.
    QString name() const { return QFileInfo(source).fileName(); }
    const QString& destination() const { return destinationFolder; }

    friend bool operator==(const TransferItem&, const TransferItem&) = default;
};
