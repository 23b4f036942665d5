#include "media/pdf_page_image.h"

#include "native_path.h"
#include "regular_file.h"

#include <poppler-qt6.h>

QImage renderPdfFirstPage(const QString& path, int edge)
{
    if (edge <= 0 || !isRegularFile(path)) return {};
    const std::unique_ptr<Poppler::Document> document =
        Poppler::Document::load(OpenablePath(path).name());
    if (!document || document->isLocked() || document->numPages() < 1) return {};
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    const std::unique_ptr<Poppler::Page> page = document->page(0);
    if (!page) return {};
    const QSizeF points = page->pageSizeF();
    const double longest = std::max(points.width(), points.height());
    if (!(longest > 0)) return {};
    const double dpi = 72.0 * edge / longest;
    QImage image = page->renderToImage(dpi, dpi);
    if (image.isNull()) return {};
    if (image.width() > edge || image.height() > edge)
        image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}
