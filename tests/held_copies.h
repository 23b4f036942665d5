#pragma once

#include "transfer_service.h"

#include <QThread>
#include <functional>

// Real copies that stop once their first bytes are written, until cancelled,
// so one can be held half-done while others wait in the queue. `holds` picks
// the sources that are held; the others copy as usual.
class HeldCopies : public TransferEngine {
public:
    explicit HeldCopies(std::function<bool(const QString&)> holds = {}) : holds_(std::move(holds))
    {
    }

    QFuture<void> start(const QString& source, const QString& destination, ProgressHandler progress,
                        CancelCheck isCancelled) override
    {
        if (holds_ && !holds_(source))
            return real_.start(source, destination, std::move(progress), std::move(isCancelled));
        auto hold = [progress, isCancelled](const CopyProgress& reached) {
            progress(reached);
            while (reached.bytes > 0 && !isCancelled())
                QThread::msleep(2);
        };
        return real_.start(source, destination, hold, isCancelled);
    }

private:
    std::function<bool(const QString&)> holds_;
    TransferService real_;
};
