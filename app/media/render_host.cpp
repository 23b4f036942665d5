#include "media/render_host.h"

#include "media/media_log.h"
#include "native_path.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const QString rendererName = QStringLiteral("quorvane-render");
// The server answers a request as soon as it has forked; longer means it is stuck.
constexpr timeval replyTimeout{5, 0};

QString applicationFile()
{
    if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString findRenderer()
{
    const QFileInfo application(applicationFile());
    const QFileInfo beside(application.absolutePath() + u'/' + rendererName);
    if (beside.isExecutable()) return beside.absoluteFilePath();
    // A program run from the build tree (the tests, the benchmarks) uses the renderer built with
    // it.
    const QString buildTree = QStringLiteral(QUORVANE_BUILD_TREE "/");
    const QFileInfo built(QStringLiteral(QUORVANE_RENDERER_BUILD_PATH));
    if (application.absoluteFilePath().startsWith(buildTree) && built.isExecutable())
        return built.absoluteFilePath();
    qCWarning(lcThumbnails) << "no" << rendererName << "beside" << application.absolutePath();
    return {};
}

// Starts the server with `socket` as its descriptor 3 and nothing to read.
pid_t spawnServer(const QString& program, int socket)
{
    QByteArray name = nativePath(program);
    char* argv[] = {name.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, socket, RenderChannel::serverSocket);
    // The starting thread may block signals; the server starts with none blocked or ignored.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t server = -1;
    const int failed = ::posix_spawn(&server, argv[0], &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : server;
}

} // namespace

QString rendererProgram()
{
    static const QString program = findRenderer();
    return program;
}

RenderHost& RenderHost::instance()
{
    // Never destroyed: threads may still render while the process exits.
    static RenderHost* host = new RenderHost;
    return *host;
}

std::optional<pid_t> RenderHost::start(const RenderChannel::Render& render, int answerPipe)
{
    const std::lock_guard lock(mutex_);
    // A server that died since the last rendering is replaced once.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!socket_.valid() && !startServer()) return std::nullopt;
        if (RenderChannel::sendRender(socket_.get(), render, answerPipe)) {
            const std::optional<RenderChannel::Message> reply =
                RenderChannel::receive(socket_.get());
            if (reply && reply->started) {
                if (*reply->started < 0) return std::nullopt;
                return *reply->started;
            }
        }
        dropServer();
    }
    return std::nullopt;
}

void RenderHost::stop(pid_t renderer)
{
    const std::lock_guard lock(mutex_);
    if (socket_.valid()) RenderChannel::sendStop(socket_.get(), renderer);
}

bool RenderHost::startServer()
{
    const QString program = rendererProgram();
    if (program.isEmpty()) return false;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) return false;
    UniqueFd ours(ends[0]), theirs(ends[1]);
    ::setsockopt(ours.get(), SOL_SOCKET, SO_RCVTIMEO, &replyTimeout, sizeof replyTimeout);
    server_ = spawnServer(program, theirs.get());
    if (server_ < 0) return false;
    socket_ = std::move(ours);
    return true;
}

void RenderHost::dropServer()
{
    socket_.reset();
    if (server_ <= 0) return;
    // Its renderers die with it.
    ::kill(server_, SIGKILL);
    while (::waitpid(server_, nullptr, 0) < 0 && errno == EINTR) {
    }
    server_ = -1;
}
