#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <functional>

// A QCoreApplication for tests that need queued calls delivered.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "quorvane_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

// Runs the event loop until `done` holds; false once `timeoutMs` has passed.
inline bool waitFor(const std::function<bool()>& done, int timeoutMs = 10000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // A worker thread may change what `done` reads without posting an event.
        QThread::msleep(1);
    }
    return done();
}

// Delivers everything queued on this thread so far (layout requests, queued
// calls, zero-delay timers) and what that queues in turn, `rounds` deep.
// Events are delivered in the order they were posted, so each round ends when
// a marker posted after them arrives; no time has to pass.
inline void deliverQueued(int rounds = 4)
{
    for (int round = 0; round < rounds; ++round) {
        bool reached = false;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
        while (!reached)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
