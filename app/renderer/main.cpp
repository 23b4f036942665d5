// quorvane-render: carries out one rendering of an untrusted file for the
// application, which starts it, limits its time and kills it when it overruns.
// Arguments: the address space it may add to what it has at start, then a
// render request. Writes the answer's size and bytes to stdout.

#include "media/pdf_page_image.h"
#include "media/render_answer.h"
#include "media/render_request.h"
#include "media/video_frame.h"

#include <QList>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
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

QByteArray answer(const RenderRequest& request)
{
    switch (request.kind) {
    case RenderRequest::Kind::PdfFirstPage:
        return encodePicture(renderPdfFirstPage(request.path, request.edge));
    case RenderRequest::Kind::PdfScannedPage:
        return encodePicture(renderPdfScannedPage(request.path, request.page, request.edge));
    case RenderRequest::Kind::PdfTextLayer:
        return encodePages(readPdfTextLayer(request.path));
    case RenderRequest::Kind::VideoFrame:
        // The application kills this process when it cancels, so no cancel check here.
        return encodePicture(readVideoFrame(request.path, request.edge, {}));
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    // Ends with the application, even when it dies before it could kill this process.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    QList<QByteArray> arguments;
    for (int i = 2; i < argc; ++i)
        arguments << QByteArray(argv[i]);
    bool sized = false;
    const long long memory = argc > 1 ? QByteArray(argv[1]).toLongLong(&sized) : 0;
    const std::optional<RenderRequest> request = RenderRequest::fromArguments(arguments);
    if (!sized || memory <= 0 || !request) {
        std::fprintf(stderr, "usage: quorvane-render MEMORY-BYTES KIND PATH EDGE PAGE\n");
        return 2;
    }
    limitAddressSpace(memory);
    QByteArray bytes;
    try {
        bytes = answer(*request);
    } catch (...) {
        return 1;
    }
    const qint64 size = bytes.size();
    return writeAll(STDOUT_FILENO, &size, sizeof size) &&
                   writeAll(STDOUT_FILENO, bytes.constData(), size_t(size))
               ? 0
               : 1;
}
