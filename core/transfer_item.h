#pragma once

#include "raw_enum.h"

#include <QFileInfo>
#include <QString>
#include <QUuid>
#include <optional>

enum class TransferStatus { Queued, Copying, Completed, Failed, Cancelled };

template <> struct RawValues<TransferStatus> {
    static constexpr std::array<std::pair<TransferStatus, const char*>, 5> cases{{
        {TransferStatus::Queued, "Queued"},
        {TransferStatus::Copying, "Copying"},
        {TransferStatus::Completed, "Completed"},
        {TransferStatus::Failed, "Failed"},
        {TransferStatus::Cancelled, "Cancelled"},
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
