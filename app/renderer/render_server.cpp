#include "render_server.h"

#include "media/render_channel.h"

#include <QSet>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Bytes of address space the process has now.
long long addressSpace()
{
    std::ifstream statm("/proc/self/statm");
    long long pages = 0;
    statm >> pages;
    return pages * ::sysconf(_SC_PAGESIZE);
}

void limitAddressSpace(long long extra)
{
#if !defined(__SANITIZE_ADDRESS__)
    const rlim_t limit = rlim_t(addressSpace() + extra);
    const rlimit bounds{limit, limit};
    ::setrlimit(RLIMIT_AS, &bounds);
#else
    // The sanitizers reserve terabytes of address space up front; no limit fits them.
    (void)extra;
#endif
}

bool writeAll(int fd, const void* data, size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= size_t(written);
    }
    return true;
}

} // namespace

RenderServer::RenderServer(Work work) : work_(std::move(work)) {}

int RenderServer::run()
{
    QSet<pid_t> running;
    for (;;) {
        // Finished renderers are reaped before any stop, so a stop never reaches a reused pid.
        for (pid_t done; (done = ::waitpid(-1, nullptr, WNOHANG)) > 0;)
            running.remove(done);
        std::optional<RenderChannel::Message> message =
            RenderChannel::receive(RenderChannel::serverSocket);
        if (!message) {
            // The application is gone: so is any use for what still runs.
            for (const pid_t renderer : std::as_const(running)) {
                ::kill(renderer, SIGKILL);
                ::waitpid(renderer, nullptr, 0);
            }
            return 0;
        }
        if (message->stop) {
            if (running.contains(*message->stop)) ::kill(*message->stop, SIGKILL);
            continue;
        }
        if (!message->render) {
            RenderChannel::sendStarted(RenderChannel::serverSocket, -1);
            continue;
        }
        const pid_t renderer = ::fork();
        if (renderer == 0) {
            // Ends with this server, which ends with the application.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::close(RenderChannel::serverSocket);
            limitAddressSpace(message->render->memory);
            QByteArray answer;
            try {
                answer = work_(message->render->request);
            } catch (...) {
                ::_exit(1);
            }
            const qint64 size = answer.size();
            const int out = message->pipe.get();
            const bool sent = writeAll(out, &size, sizeof size) &&
                              writeAll(out, answer.constData(), size_t(size));
            ::_exit(sent ? 0 : 1);
        }
        if (renderer > 0) running.insert(renderer);
        message->pipe.reset();
        if (!RenderChannel::sendStarted(RenderChannel::serverSocket, renderer)) return 1;
    }
}
