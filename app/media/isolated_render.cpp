#include "isolated_render.h"

#include "unique_fd.h"

#include <QElapsedTimer>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The biggest picture a child may send back (a 2400-pixel zoom picture is 23 MB).
constexpr qint64 maxPictureBytes = qint64(256) << 20;
constexpr int pollMs = 50;

struct Header {
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

[[noreturn]] void runChild(int out, const std::function<QImage()>& render, qint64 memory)
{
#if !defined(__SANITIZE_ADDRESS__)
    // The sanitizers reserve terabytes of address space up front; no limit fits them.
    const rlim_t limit = rlim_t(addressSpace() + memory);
    const rlimit bounds{limit, limit};
    ::setrlimit(RLIMIT_AS, &bounds);
#else
    Q_UNUSED(memory);
#endif
    QImage image;
    try {
        image = render();
    } catch (...) {
    }
    if (!image.isNull()) image = image.convertToFormat(QImage::Format_ARGB32);
    const Header header{image.width(), image.height()};
    bool sent = writeAll(out, &header, sizeof header);
    for (int y = 0; sent && y < image.height(); ++y)
        sent = writeAll(out, image.constScanLine(y), size_t(image.width()) * 4);
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
        if (got <= 0) return false; // the child ended (or was killed) without a whole picture
        data += got;
        size -= got;
    }
    return true;
}

} // namespace

QImage renderIsolated(const std::function<QImage()>& render, const RenderLimits& limits,
                      const CancelCheck& isCancelled)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) return {};
    UniqueFd in(ends[0]), out(ends[1]);
    const pid_t child = ::fork();
    if (child < 0) return {};
    if (child == 0) runChild(out.get(), render, limits.memory);
    out.reset();

    QElapsedTimer clock;
    clock.start();
    const qint64 deadline = limits.time.count();
    QImage image;
    Header header;
    if (readAll(in.get(), reinterpret_cast<char*>(&header), sizeof header, clock, deadline,
                isCancelled) &&
        header.width > 0 && header.height > 0 &&
        qint64(header.width) * header.height * 4 <= maxPictureBytes) {
        image = QImage(header.width, header.height, QImage::Format_ARGB32);
        for (int y = 0; !image.isNull() && y < header.height; ++y)
            if (!readAll(in.get(), reinterpret_cast<char*>(image.scanLine(y)),
                         qint64(header.width) * 4, clock, deadline, isCancelled))
                image = QImage();
    }
    // Whatever state the child is in, it ends now; reaping a killed child is immediate.
    ::kill(child, SIGKILL);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return image;
}
