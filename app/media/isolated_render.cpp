#include "media/isolated_render.h"

#include "unique_fd.h"

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The biggest answer a child may send back (a 2400-pixel zoom picture is 23 MB).
constexpr qint64 maxAnswerBytes = qint64(256) << 20;
constexpr int pollMs = 50;

struct PictureHeader {
    qint32 width = 0;
    qint32 height = 0;
};

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

// Bytes of address space the process has now.
qint64 addressSpace()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    return statm.readLine().split(' ').value(0).toLongLong() * ::sysconf(_SC_PAGESIZE);
}

[[noreturn]] void runChild(int out, const std::function<QByteArray()>& work, qint64 memory)
{
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizers reserve terabytes of address space up front; no limit fits them.
    const rlim_t limit = rlim_t(addressSpace() + memory);
    const rlimit bounds{limit, limit};
    ::setrlimit(RLIMIT_AS, &bounds);
#else
    Q_UNUSED(memory);
#endif
    QByteArray answer;
    try {
        answer = work();
    } catch (...) {
        ::_exit(1);
    }
    const qint64 size = answer.size();
    const bool sent =
        writeAll(out, &size, sizeof size) && writeAll(out, answer.constData(), size_t(size));
    // No destructors or exit handlers of the parent's objects run here.
    ::_exit(sent ? 0 : 1);
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
        if (got <= 0) return false; // the child ended (or was killed) without a whole answer
        data += got;
        size -= got;
    }
    return true;
}

} // namespace

std::optional<QByteArray> runIsolated(const std::function<QByteArray()>& work,
                                      const RenderLimits& limits, const CancelCheck& isCancelled)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
    UniqueFd in(ends[0]), out(ends[1]);
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) runChild(out.get(), work, limits.memory);
    out.reset();

    QElapsedTimer clock;
    clock.start();
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
    // Whatever state the child is in, it ends now; reaping a killed child is immediate.
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return answer;
}

QImage renderIsolated(const std::function<QImage()>& render, const RenderLimits& limits,
                      const CancelCheck& isCancelled)
{
    const std::optional<QByteArray> answer = runIsolated(
        [&render] {
            const QImage image = render().convertToFormat(QImage::Format_ARGB32);
            const PictureHeader header{image.width(), image.height()};
            QByteArray bytes(reinterpret_cast<const char*>(&header), sizeof header);
            for (int y = 0; y < image.height(); ++y)
                bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                             qsizetype(image.width()) * 4);
            return bytes;
        },
        limits, isCancelled);
    if (!answer || answer->size() < qsizetype(sizeof(PictureHeader))) return {};
    PictureHeader header;
    std::memcpy(&header, answer->constData(), sizeof header);
    if (header.width <= 0 || header.height <= 0 ||
        answer->size() != qsizetype(sizeof header) + qsizetype(header.width) * header.height * 4)
        return {};
    QImage image(header.width, header.height, QImage::Format_ARGB32);
    if (image.isNull()) return {};
    const char* pixels = answer->constData() + sizeof header;
    for (int y = 0; y < header.height; ++y)
        std::memcpy(image.scanLine(y), pixels + qsizetype(y) * header.width * 4,
                    size_t(header.width) * 4);
    return image;
}
