#include "workspace/filter_schedule.h"

#include "when_finished.h"
#include "workspace/prioritized_pool.h"

#include <QFuture>
#include <QTimer>
#include <QtConcurrent>

QThreadPool* filterPool()
{
    return prioritizedPool<QThread::HighPriority>();
}

FilterSchedule::FilterSchedule(QObject* parent) : QObject(parent) {}

void FilterSchedule::schedule(FilterPass pass, bool debounce)
{
    TaskSlot::Ticket ticket = task_.start();
    // Kept only while the files stay the same, so an old list is not held on to.
    if (candidates_ && candidates_->scope().sameAs(pass.scope))
        pass.candidates = candidates_;
    else
        candidates_.reset();
    if (!debounce) {
        launch(std::move(pass), ticket);
        return;
    }
    QTimer::singleShot(debounceMs, Qt::PreciseTimer, this,
                       [this, pass = std::move(pass), ticket]() mutable {
                           if (!ticket.isCancelled()) launch(std::move(pass), ticket);
                       });
}

void FilterSchedule::launch(FilterPass pass, TaskSlot::Ticket ticket)
{
    const CancelCheck isCancelled = ticket.cancelCheck();
    QFuture<FilterOutput> future = QtConcurrent::run(
        filterPool(), [pass = std::move(pass), isCancelled] { return pass.run(isCancelled); });
    whenFinished(future, this, [this, ticket](QFuture<FilterOutput> done) {
        if (ticket.isCancelled()) return;
        task_.finish(ticket);
        try {
            const FilterOutput output = done.result();
            candidates_ = output.candidates;
            Q_EMIT published(output);
        } catch (...) {
            Q_EMIT abandoned();
        }
    });
}
