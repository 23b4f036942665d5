#include "media/file_thumbnail_generator.h"

#include "media/file_type_icon.h"
#include "media/pdf_page_image.h"
#include "media/scaled_image.h"
#include "media/video_frame.h"
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
    if (file.ext() == u"pdf")
        return renderIsolated([&] { return renderPdfFirstPage(path, edge); }, limits_, isCancelled);
    switch (file.mediaKind) {
    case MediaKind::Image:
        return readScaledImage(path, edge);
    case MediaKind::Video:
    case MediaKind::Audio:
        // The child is killed when cancelled, so it needs no cancel check of its own.
        return renderIsolated([&] { return readVideoFrame(path, edge, {}); }, limits_, isCancelled);
    default:
        return {};
    }
}

QImage FileThumbnailGenerator::fallback(const FileEntry& file, int edge)
{
    return fileTypeIcon(file.path, edge);
}
