#pragma once

#include "media/render_channel.h"
#include "unique_fd.h"

#include <QString>
#include <mutex>
#include <optional>

// This process's renderer server (quorvane-render), started on first use and
// again should it die. Any thread may start and stop renderings; the server
// is never waited for, and ends by itself once this process has gone.
class RenderHost {
public:
    static RenderHost& instance();

    // Has a renderer started that writes its answer to `answerPipe`; its pid,
    // or none when no server could be reached.
    std::optional<pid_t> start(const RenderChannel::Render& render, int answerPipe);
    // Kills a renderer that was started and has not finished.
    void stop(pid_t renderer);

private:
    RenderHost() = default;
    bool startServer();
    void dropServer();

    std::mutex mutex_;
    UniqueFd socket_;
    pid_t server_ = -1;
};

// The renderer program this process starts; empty when there is none.
QString rendererProgram();
