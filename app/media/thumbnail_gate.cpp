#include "media/thumbnail_gate.h"

#include <algorithm>

ThumbnailGate::ThumbnailGate(int slots) : slots_(std::max(1, slots)) {}

void ThumbnailGate::acquire(Waiter waiter, std::function<void()> granted)
{
    if (active_ < slots_) {
        ++active_;
        granted();
    } else {
        waiting_.push_back({waiter, std::move(granted)});
    }
}

void ThumbnailGate::release()
{
    if (waiting_.empty()) {
        active_ = std::max(0, active_ - 1);
        return;
    }
    // The slot passes on without being counted free in between.
    std::function<void()> granted = std::move(waiting_.front().granted);
    waiting_.pop_front();
    granted();
}

bool ThumbnailGate::cancel(Waiter waiter)
{
    const auto found = std::find_if(waiting_.begin(), waiting_.end(),
                                    [&](const Entry& entry) { return entry.waiter == waiter; });
    if (found == waiting_.end()) return false;
    waiting_.erase(found);
    return true;
}
