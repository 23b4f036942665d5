#pragma once

#include <QThread>
#include <QThreadPool>

// A pool of its own whose threads run at `priority`. Made on first use and
// destroyed at exit, after waiting for the (cancelled) work still running.
template <QThread::Priority priority> QThreadPool* prioritizedPool()
{
    static QThreadPool pool;
    static const bool configured = (pool.setThreadPriority(priority), true);
    Q_UNUSED(configured);
    return &pool;
}
