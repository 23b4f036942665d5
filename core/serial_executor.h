#pragma once

#include "cancellation.h"

#include <QFuture>
#include <QPromise>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Runs jobs one at a time, in the order they were given, on one thread of its
// own. Unlike a thread pool, a caller waiting on a future never runs a queued
// job itself, so the order holds whoever waits. Cancelling a future makes its
// job's CancelCheck answer true; a job cancelled before it starts never runs.
class SerialExecutor {
public:
    SerialExecutor();
    // Finishes the running job; queued ones end cancelled.
    ~SerialExecutor();
    SerialExecutor(const SerialExecutor&) = delete;
    SerialExecutor& operator=(const SerialExecutor&) = delete;

    template <typename Job> auto run(Job job)
    {
        using Result = std::invoke_result_t<Job, const CancelCheck&>;
        return start<Result>([job = std::move(job)](QPromise<Result>& promise,
                                                    const CancelCheck& isCancelled) mutable {
            if constexpr (std::is_void_v<Result>)
                job(isCancelled);
            else
                promise.addResult(job(isCancelled));
        });
    }

    // For a job that hands out several results as it goes, through the
    // function it is given: the future holds them in that order.
    template <typename Result, typename Job> QFuture<Result> stream(Job job)
    {
        return start<Result>([job = std::move(job)](QPromise<Result>& promise,
                                                    const CancelCheck& isCancelled) mutable {
            job(isCancelled, [&promise](Result result) { promise.addResult(std::move(result)); });
        });
    }

private:
    template <typename Result, typename Body> QFuture<Result> start(Body body)
    {
        auto promise = std::make_shared<QPromise<Result>>();
        QFuture<Result> future = promise->future();
        promise->start();
        post([promise, body = std::move(body)]() mutable {
            if (!promise->isCanceled()) {
                const CancelCheck isCancelled = [p = promise.get()] { return p->isCanceled(); };
                try {
                    body(*promise, isCancelled);
                } catch (const Cancelled&) {
                    promise->future().cancel();
                } catch (const QException& error) {
                    promise->setException(error);
                } catch (...) {
                    promise->setException(std::current_exception());
                }
            }
            promise->finish();
        });
        return future;
    }

    void post(std::function<void()> task);
    void loop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> queue_;
    bool stopping_ = false;
    std::thread thread_;
};
