#include "media/isolated_render.h"

#include "media/media_log.h"
#include "media/render_answer.h"
#include "native_path.h"
#include "unique_fd.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The biggest answer a renderer may send back (a 2400-pixel zoom picture is 23 MB).
constexpr qint64 maxAnswerBytes = qint64(256) << 20;
constexpr int pollMs = 50;
const QString rendererName = QStringLiteral("quorvane-render");

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

// Starts the renderer with its stdout on `out`; its stdin reads nothing.
pid_t spawnRenderer(const QString& program, const QList<QByteArray>& arguments, int out)
{
    std::vector<char*> argv;
    QByteArray name = nativePath(program);
    argv.push_back(name.data());
    QList<QByteArray> owned = arguments;
    for (QByteArray& argument : owned)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    // The caller's thread may block signals; the renderer starts with none blocked or ignored.
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t child = -1;
    const int failed = ::posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed ? -1 : child;
}

// Reads exactly `size` bytes unless the deadline passes or the caller cancels.
bool readAll(int fd, char* data, qint64 size, const QElapsedTimer& clock, qint64 deadlineMs,
             const CancelCheck& isCancelled)
{
    while (size > 0) {
        if ((isCancelled && isCancelled()) || clock.elapsed() >= deadlineMs) return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, pollMs);
        if (polled < 0 && errno != EINTR) return false;
        if (polled <= 0) continue;
        const ssize_t got = ::read(fd, data, size_t(std::min<qint64>(size, 1 << 20)));
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return false; // the renderer ended (or was killed) without a whole answer
        data += got;
        size -= got;
    }
    return true;
}

// The renderer's answer to `request`: a size, then that many bytes.
std::optional<QByteArray> runIsolated(const RenderRequest& request, const RenderLimits& limits,
                                      const CancelCheck& isCancelled)
{
    const QString program = rendererProgram();
    if (program.isEmpty()) return std::nullopt;
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    UniqueFd in(ends[0]), out(ends[1]);
    QElapsedTimer clock;
    clock.start();
    const pid_t child = spawnRenderer(
        program, QList<QByteArray>{QByteArray::number(limits.memory)} + request.arguments(),
        out.get());
    if (child < 0) return std::nullopt;
    out.reset();

    const qint64 deadline = limits.time.count();
    std::optional<QByteArray> answer;
    qint64 size = 0;
    if (readAll(in.get(), reinterpret_cast<char*>(&size), sizeof size, clock, deadline,
                isCancelled) &&
        size >= 0 && size <= maxAnswerBytes) {
        QByteArray bytes(size, Qt::Uninitialized);
        if (readAll(in.get(), bytes.data(), size, clock, deadline, isCancelled))
            answer = std::move(bytes);
    }
    // Whatever state the renderer is in, it ends now; reaping a killed child is immediate.
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return answer;
}

} // namespace

QString rendererProgram()
{
    static const QString program = findRenderer();
    return program;
}

QImage renderIsolated(const RenderRequest& request, const RenderLimits& limits,
                      const CancelCheck& isCancelled)
{
    if (!request.wantsPicture()) return {};
    const std::optional<QByteArray> answer = runIsolated(request, limits, isCancelled);
    return answer ? decodePicture(*answer) : QImage();
}

std::optional<QStringList> readTextIsolated(const RenderRequest& request,
                                            const RenderLimits& limits,
                                            const CancelCheck& isCancelled)
{
    if (request.wantsPicture()) return std::nullopt;
    const std::optional<QByteArray> answer = runIsolated(request, limits, isCancelled);
    if (!answer) return std::nullopt;
    return decodePages(*answer);
}
