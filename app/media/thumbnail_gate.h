#pragma once

#include <QtGlobal>
#include <deque>
#include <functional>

// Lets a fixed number of generations run at once; the others wait their turn
// in arrival order. Used from one thread only.
class ThumbnailGate {
public:
    static constexpr int defaultSlots = 4;
    using Waiter = quint64;

    explicit ThumbnailGate(int slots = defaultSlots);

    // Runs `granted` now if a slot is free, otherwise when one passes to `waiter`.
    void acquire(Waiter waiter, std::function<void()> granted);
    // Gives a slot back; the oldest waiter, if any, gets it directly.
    void release();
    // Drops a waiter that no longer wants a slot; false if it was not waiting.
    bool cancel(Waiter waiter);

    int active() const { return active_; }
    int waiting() const { return int(waiting_.size()); }

private:
    struct Entry {
        Waiter waiter;
        std::function<void()> granted;
    };
    int slots_;
    int active_ = 0;
    std::deque<Entry> waiting_;
};
