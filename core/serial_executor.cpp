#include "serial_executor.h"

SerialExecutor::SerialExecutor() : thread_([this] { loop(); }) {}

SerialExecutor::~SerialExecutor()
{
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        dropped.swap(queue_);
    }
    wake_.notify_all();
    thread_.join();
    // Dropping the tasks drops their promises, which ends their futures as cancelled.
}

void SerialExecutor::post(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void SerialExecutor::loop()
{
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            task = std::move(queue_.front());
            queue_.pop_front();
        }
        task();
    }
}
