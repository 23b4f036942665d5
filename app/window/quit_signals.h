#pragma once

#include <QObject>
#include <array>
#include <csignal>

class QSocketNotifier;
class WorkspaceRouter;

// SIGTERM, SIGINT and SIGHUP end the window the way closing it does: every
// scan and copy is stopped (so no half-written copy stays behind), then the
// event loop ends with status 0. The handler only writes the signal's number
// to a pipe; the work happens on the GUI thread when the pipe is read.
// One instance at a time; the previous handlers come back when it goes.
class QuitSignals : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 3> handled{SIGTERM, SIGINT, SIGHUP};

    explicit QuitSignals(WorkspaceRouter& router, QObject* parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

Q_SIGNALS:
    // Before the work stops and the loop ends.
    void received(int signal);

private:
    void readPipe();

    WorkspaceRouter& router_;
    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    std::array<struct sigaction, handled.size()> previous_{};
};
