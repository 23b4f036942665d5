#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QString>
#include <QThread>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// A named pipe in a test folder, for readers that must never open one.
inline bool makeNamedPipe(const QString& path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Gives every reader stuck opening or reading the pipe its end of file.
inline void releasePipeReaders(const QString& pipe)
{
    const int writer =
        ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) ::close(writer);
}

// Runs `body` on a thread of its own and says whether it returned within
// `limit`. When it did not, a reader is stuck on the pipe: the pipe's writing
// end is opened and closed until the reader sees its end, so the test fails
// rather than hangs.
inline bool returnsBesidePipe(const QString& pipe, const std::function<void()>& body,
                              std::chrono::milliseconds limit = std::chrono::seconds(10))
{
    // A QThread rather than std::async: Qt keeps data for threads it did not
    // start until the process ends.
    const std::unique_ptr<QThread> thread(QThread::create(body));
    thread->start();
    if (thread->wait(QDeadlineTimer(limit))) return true;
    while (!thread->wait(20))
        releasePipeReaders(pipe);
    return false;
}
