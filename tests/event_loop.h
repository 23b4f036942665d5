#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
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

// Runs the event loop until `done` holds, for at most ten seconds.
inline bool waitFor(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}
