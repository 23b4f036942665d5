#include "window/quit_signals.h"

#include "workspace/workspace_router.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The pipe's writing end, for the handler (which may run on any thread).
std::atomic_int signalPipe{-1};

void writeSignal(int signal)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    const int fd = signalPipe.load();
    // A full pipe already holds a wake-up, so a failed write loses nothing.
    if (fd >= 0 && ::write(fd, &number, 1) < 0) {
    }
    errno = savedErrno;
}

} // namespace

QuitSignals::QuitSignals(WorkspaceRouter& router, QObject* parent)
    : QObject(parent), router_(router)
{
    Q_ASSERT(signalPipe.load() < 0);
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        qWarning("quorvane: cannot watch for quit signals: %s", std::strerror(errno));
        return;
    }
    signalPipe.store(pipe_[1]);
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::readPipe);
    struct sigaction action {};
    action.sa_handler = writeSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls on other threads (a copy's read) go on.
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < handled.size(); ++i)
        ::sigaction(handled[i], &action, &previous_[i]);
}

QuitSignals::~QuitSignals()
{
    if (pipe_[1] < 0) return;
    for (std::size_t i = 0; i < handled.size(); ++i)
        ::sigaction(handled[i], &previous_[i], nullptr);
    signalPipe.store(-1);
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void QuitSignals::readPipe()
{
    unsigned char number = 0;
    int last = 0;
    while (::read(pipe_[0], &number, 1) == 1)
        last = number;
    if (last == 0) return;
    Q_EMIT received(last);
    router_.stopAllWork();
    QCoreApplication::exit(0);
}
