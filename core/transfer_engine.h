#pragma once

#include "cancellation.h"
#include "copy_progress.h"

#include <QFuture>
#include <QString>
#include <functional>

// Runs copies off the caller's thread. The transfer queue takes its engine
// through this so a test can put one of its own in.
class TransferEngine {
public:
    // Called on the engine's thread; the copy waits for it to return.
    using ProgressHandler = std::function<void(const CopyProgress&)>;

    virtual ~TransferEngine() = default;

    // Copies `source` into the folder `destination`. The future ends cancelled
    // only when the copy stopped because `isCancelled` said so; a failure
    // carries its FileError.
    virtual QFuture<void> start(const QString& source, const QString& destination,
                                ProgressHandler progress, CancelCheck isCancelled) = 0;
};
