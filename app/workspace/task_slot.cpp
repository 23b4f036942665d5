#include "workspace/task_slot.h"

TaskSlot::Ticket TaskSlot::start()
{
    cancel();
    running_ = Ticket();
    return *running_;
}

void TaskSlot::finish(const Ticket& ticket)
{
    if (running_ && running_->flag_ == ticket.flag_) {
        running_.reset();
        onCancel_ = nullptr;
    }
}

void TaskSlot::cancel()
{
    if (!running_) return;
    running_->flag_->store(true, std::memory_order_release);
    running_.reset();
    if (auto action = std::exchange(onCancel_, nullptr)) action();
}
