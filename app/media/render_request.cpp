#include "media/render_request.h"

#include "native_path.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<RenderRequest::Kind, const char*>, 4> kindNames{{
    {RenderRequest::Kind::PdfFirstPage, "pdf-first-page"},
    {RenderRequest::Kind::PdfScannedPage, "pdf-scanned-page"},
    {RenderRequest::Kind::PdfTextLayer, "pdf-text-layer"},
    {RenderRequest::Kind::VideoFrame, "video-frame"},
}};

std::optional<int> number(const QByteArray& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0) return std::nullopt;
    return value;
}

} // namespace

RenderRequest RenderRequest::pdfFirstPage(const QString& path, int edge)
{
    return {Kind::PdfFirstPage, path, edge, 0};
}

RenderRequest RenderRequest::pdfScannedPage(const QString& path, int page, int edge)
{
    return {Kind::PdfScannedPage, path, edge, page};
}

RenderRequest RenderRequest::pdfTextLayer(const QString& path)
{
    return {Kind::PdfTextLayer, path, 0, 0};
}

RenderRequest RenderRequest::videoFrame(const QString& path, int edge)
{
    return {Kind::VideoFrame, path, edge, 0};
}

bool RenderRequest::wantsPicture() const
{
    return kind != Kind::PdfTextLayer;
}

QList<QByteArray> RenderRequest::arguments() const
{
    QByteArray name;
    for (const auto& [known, text] : kindNames)
        if (known == kind) name = text;
    return {name, nativePath(path), QByteArray::number(edge), QByteArray::number(page)};
}

std::optional<RenderRequest> RenderRequest::fromArguments(const QList<QByteArray>& arguments)
{
    if (arguments.size() != 4 || arguments[1].isEmpty()) return std::nullopt;
    const std::optional<int> edge = number(arguments[2]);
    const std::optional<int> page = number(arguments[3]);
    if (!edge || !page) return std::nullopt;
    for (const auto& [kind, text] : kindNames)
        if (arguments[0] == text)
            return RenderRequest{kind, decodePath(arguments[1]), *edge, *page};
    return std::nullopt;
}
