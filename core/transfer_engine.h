#pragma once

#include "cancellation.h"
#include "conflict_resolver.h"
#include "copy_progress.h"
#include "transfer_outcome.h"

#include <QFuture>
#include <QString>
#include <functional>
#include <memory>

// Runs copies off the caller's thread. The transfer queue takes its engine
// through this so a test can put one of its own in.
class TransferEngine {
public:
    // Called on the engine's thread; the copy waits for it to return.
    using ProgressHandler = std::function<void(const CopyProgress&)>;

    struct Request {
        QString source;
        QString destination; // the folder
        TransferKind kind = TransferKind::Copy;
    };

    struct Handlers {
        ProgressHandler progress;
        // Asked between chunks; it may also hold the copy there while paused.
        CancelCheck isCancelled;
        // Null: a taken name fails the job, as a plain copy does.
        std::shared_ptr<ConflictResolver> conflicts;
    };

    virtual ~TransferEngine() = default;

    // Copies `source` into the folder `destination`. The future ends cancelled
    // only when the copy stopped because `isCancelled` said so; a failure
    // carries its FileError.
    virtual QFuture<void> start(const QString& source, const QString& destination,
                                ProgressHandler progress, CancelCheck isCancelled) = 0;

    // A copy or move that settles taken names with `handlers.conflicts`. This
    // default runs plain copies through `start` and knows no moves.
    virtual QFuture<TransferOutcome> transfer(const Request& request, Handlers handlers);
};
