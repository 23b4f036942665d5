#include "workspace/filter_schedule.h"

#include "when_finished.h"

#include <QFuture>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>

QThreadPool* filterPool()
{
    // Destroyed at exit, after waiting for the (cancelled) passes still running.
    static QThreadPool pool;
    static const bool configured = [] {
        pool.setThreadPriority(QThread::HighPriority);
        return true;
    }();
    Q_UNUSED(configured);
    return &pool;
}

FilterSchedule::FilterSchedule(QObject* parent) : QObject(parent) {}

void FilterSchedule::schedule(FilterPass pass, bool debounce)
{
    TaskSlot::Ticket ticket = task_.start();
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
            Q_EMIT published(done.result());
        } catch (...) {
            Q_EMIT abandoned();
        }
    });
}
