// quorvane-render: renders untrusted files for the application, which starts
// it with its end of a socket on descriptor 3 and ends it by closing that.
// It links no widgets and starts small, so the process it forks for each
// rendering costs little.

#include "media/pdf_page_image.h"
#include "media/render_answer.h"
#include "media/render_channel.h"
#include "media/render_request.h"
#include "media/video_frame.h"
#include "render_server.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

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
        // The application has this process killed when it cancels, so no cancel check here.
        return encodePicture(readVideoFrame(request.path, request.edge, {}));
    }
    return {};
}

} // namespace

int main()
{
    struct stat socket = {};
    if (::fstat(RenderChannel::serverSocket, &socket) != 0 || !S_ISSOCK(socket.st_mode)) {
        std::fprintf(stderr,
                     "quorvane-render is started by Quorvane, with a socket on descriptor 3\n");
        return 2;
    }
    routePdfMessages();
    return RenderServer(answer).run();
}
