#include "media/pdf_page_image.h"

#include "media/media_log.h"
#include "native_path.h"
#include "regular_file.h"

#include <algorithm>
#include <memory>
#include <poppler-qt6.h>

namespace {

constexpr double scanDpi = 300;

std::unique_ptr<Poppler::Document> openDocument(const QString& path)
{
    if (!isRegularFile(path)) return nullptr;
    std::unique_ptr<Poppler::Document> document =
        Poppler::Document::load(OpenablePath(path).name());
    if (!document || document->isLocked()) return nullptr;
    return document;
}

// The resolution at which the page's longer side is `edge` pixels; 0 for a page without size.
double fittingDpi(const Poppler::Page& page, int edge)
{
    const QSizeF points = page.pageSizeF();
    const double longest = std::max(points.width(), points.height());
    return longest > 0 ? 72.0 * edge / longest : 0;
}

// The page drawn at `dpi`; null when drawing failed, which Poppler answers
// with a one-pixel picture when it can't get the memory for the page.
QImage rendered(Poppler::Page& page, double dpi)
{
    if (!(dpi > 0)) return {};
    QImage image = page.renderToImage(dpi, dpi);
    const QSizeF points = page.pageSizeF();
    const double longest = std::max(points.width(), points.height()) * dpi / 72.0;
    if (std::max(image.width(), image.height()) < longest / 2) return {};
    return image;
}

} // namespace

void routePdfMessages()
{
    Poppler::setDebugErrorFunction(
        [](const QString& message, const QVariant&) { qCDebug(lcThumbnails) << message; }, {});
}

QImage renderPdfFirstPage(const QString& path, int edge)
{
    if (edge <= 0) return {};
    const std::unique_ptr<Poppler::Document> document = openDocument(path);
    if (!document || document->numPages() < 1) return {};
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page) return {};
    QImage image = rendered(*page, fittingDpi(*page, edge));
    if (image.isNull()) return {};
    if (image.width() > edge || image.height() > edge)
        image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage renderPdfScannedPage(const QString& path, int number, int edge)
{
    if (edge <= 0) return {};
    const std::unique_ptr<Poppler::Document> document = openDocument(path);
    if (!document || number < 0 || number >= document->numPages()) return {};
    const std::unique_ptr<Poppler::Page> page = document->page(number);
    if (!page) return {};
    return rendered(*page, std::min(scanDpi, fittingDpi(*page, edge)));
}

QStringList readPdfTextLayer(const QString& path)
{
    const std::unique_ptr<Poppler::Document> document = openDocument(path);
    if (!document) return {};
    QStringList pages;
    for (int number = 0; number < document->numPages(); ++number) {
        const std::unique_ptr<Poppler::Page> page = document->page(number);
        if (page) pages << page->text(QRectF());
    }
    return pages;
}
