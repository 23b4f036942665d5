#pragma once

#include "cancellation.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

// The one running task of a kind of work. Starting a task cancels the one
// before it; a continuation asks its ticket whether it may still publish.
class TaskSlot {
public:
    class Ticket {
    public:
        bool isCancelled() const { return flag_->load(std::memory_order_acquire); }
        // For background work: answers true once the task was cancelled.
        CancelCheck cancelCheck() const
        {
            return [flag = flag_] { return flag->load(std::memory_order_acquire); };
        }

    private:
        friend class TaskSlot;
        std::shared_ptr<std::atomic_bool> flag_ = std::make_shared<std::atomic_bool>(false);
    };

    TaskSlot() = default;
    TaskSlot(const TaskSlot&) = delete;
    TaskSlot& operator=(const TaskSlot&) = delete;
    ~TaskSlot() { cancel(); }

    // Cancels the running task and starts a new one.
    Ticket start();
    // Called once if the current task is cancelled (for example to cancel a future).
    void onCancel(std::function<void()> action) { onCancel_ = std::move(action); }
    // The task of `ticket` ended by itself; a later cancel() no longer reaches it.
    void finish(const Ticket& ticket);
    void cancel();
    bool isRunning() const { return running_ && !running_->isCancelled(); }

private:
    std::optional<Ticket> running_;
    std::function<void()> onCancel_;
};
