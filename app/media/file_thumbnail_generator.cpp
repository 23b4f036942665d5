#include "media/file_thumbnail_generator.h"

#include "media/file_type_icon.h"
#include "media/media_log.h"
#include "media/scaled_image.h"
#include "regular_file.h"

FileThumbnailGenerator::FileThumbnailGenerator(FreedesktopThumbnails shared, RenderLimits limits)
    : shared_(std::move(shared)), limits_(limits)
{
}

QImage FileThumbnailGenerator::make(const FileEntry& file, int edge, const CancelCheck& isCancelled)
{
    // Only regular files: a pipe named like a picture would hold a slot for good.
    if (file.isDirectory || edge <= 0 || !isRegularFile(file.path)) return {};
    if (QImage cached = shared_.find(file, edge); !cached.isNull()) return cached;
    if (isCancelled && isCancelled()) return {};
    const QString& path = file.path;
    QImage image;
    if (file.ext() == u"pdf") {
        image = renderIsolated(RenderRequest::pdfFirstPage(path, edge), limits_, isCancelled);
    } else if (file.mediaKind == MediaKind::Image) {
        image = readScaledImage(path, edge);
    } else if (file.mediaKind == MediaKind::Video || file.mediaKind == MediaKind::Audio) {
        image = renderIsolated(RenderRequest::videoFrame(path, edge), limits_, isCancelled);
    } else {
        return {};
    }
    if (image.isNull() && !(isCancelled && isCancelled()))
        qCDebug(lcThumbnails) << "no thumbnail for" << path;
    return image;
}

QStringList FileThumbnailGenerator::fallbackIcons(const FileEntry& file)
{
    return typeIconNames(file.path);
}

QImage FileThumbnailGenerator::fallback(const FileEntry&, const QStringList& icons, int edge)
{
    return typeIcon(icons, edge);
}
