#include "media/isolated_render.h"

#include "media/render_answer.h"
#include "media/render_host.h"
#include "unique_fd.h"

#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// The biggest answer a renderer may send back (a 2400-pixel zoom picture is 23 MB).
constexpr qint64 maxAnswerBytes = qint64(256) << 20;
constexpr int pollMs = 50;

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
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    UniqueFd in(ends[0]), out(ends[1]);
    QElapsedTimer clock;
    clock.start();
    RenderHost& host = RenderHost::instance();
    const std::optional<pid_t> renderer = host.start({limits.memory, request}, out.get());
    if (!renderer) return std::nullopt;
    // Only the renderer writes now, so its end means the end of the answer.
    out.reset();

    const qint64 deadline = limits.time.count();
    qint64 size = 0;
    if (readAll(in.get(), reinterpret_cast<char*>(&size), sizeof size, clock, deadline,
                isCancelled) &&
        size >= 0 && size <= maxAnswerBytes) {
        QByteArray bytes(size, Qt::Uninitialized);
        if (readAll(in.get(), bytes.data(), size, clock, deadline, isCancelled)) return bytes;
    }
    // Overran, stopped or broken: whatever state the renderer is in, it ends now.
    host.stop(*renderer);
    return std::nullopt;
}

} // namespace

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
