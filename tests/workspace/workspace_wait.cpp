#include "workspace/workspace_wait.h"

#include "file_service.h"
#include "workspace/filter_schedule.h"
#include "workspace/prioritized_pool.h"
#include "workspace/workspace_model.h"

#include <QThreadPool>
#include <algorithm>

bool waitUntilSettled(const WorkspaceModel& model, int timeoutMs)
{
    return waitFor(
        [&] {
            return !model.isListing() && !model.isFiltering() && !model.busy() &&
                   !model.readingMetadata();
        },
        timeoutMs);
}

bool waitForBackgroundWork(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QThreadPool* const pools[] = {filterPool(), prioritizedPool<QThread::LowPriority>(),
                                  QThreadPool::globalInstance()};
    // A result delivered here may start the next stage, so until all stay idle.
    for (;;) {
        for (QThreadPool* pool : pools)
            if (!pool->waitForDone(int(std::max<qint64>(deadline.remainingTime(), 1))))
                return false;
        deliverQueued();
        if (std::all_of(std::begin(pools), std::end(pools),
                        [](QThreadPool* pool) { return pool->activeThreadCount() == 0; }))
            return true;
        if (deadline.hasExpired()) return false;
    }
}

bool waitForBackgroundWork(WorkspaceModel& model, int timeoutMs)
{
    // The file service runs its jobs one at a time, in order: this one ends last.
    const QFuture<QList<QList<FileEntry>>> last = model.service().duplicates({});
    return waitFor([&] { return last.isFinished(); }, timeoutMs) &&
           waitForBackgroundWork(timeoutMs);
}
