#include "transfer_control.h"

void TransferControl::cancel()
{
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    wake_.notify_all();
}

void TransferControl::pause()
{
    std::lock_guard lock(mutex_);
    paused_ = true;
}

void TransferControl::resume()
{
    std::lock_guard lock(mutex_);
    paused_ = false;
    wake_.notify_all();
}

bool TransferControl::isPaused() const
{
    std::lock_guard lock(mutex_);
    return paused_;
}

bool TransferControl::isCancelled() const
{
    std::lock_guard lock(mutex_);
    return cancelled_;
}

bool TransferControl::checkpoint()
{
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return !paused_ || cancelled_; });
    return cancelled_;
}

std::optional<ConflictChoice> TransferControl::waitForAnswer()
{
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return answer_ || cancelled_; });
    if (cancelled_) return std::nullopt;
    return std::exchange(answer_, std::nullopt);
}

void TransferControl::answer(ConflictChoice choice)
{
    std::lock_guard lock(mutex_);
    answer_ = choice;
    wake_.notify_all();
}
