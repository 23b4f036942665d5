#include "file_thumbnail_generator.h"

#include "file_type_icon.h"
#include "pdf_page_image.h"
#include "regular_file.h"
#include "scaled_image.h"
#include "video_frame.h"

FileThumbnailGenerator::FileThumbnailGenerator(FreedesktopThumbnails shared)
    : shared_(std::move(shared))
{
}

QImage FileThumbnailGenerator::make(const FileEntry& file, int edge, const CancelCheck& isCancelled)
{
    // Only regular files: a pipe named like a picture would hold a slot for good.
    if (file.isDirectory || edge <= 0 || !isRegularFile(file.path)) return {};
    if (QImage cached = shared_.find(file, edge); !cached.isNull()) return cached;
    if (isCancelled && isCancelled()) return {};
    if (file.ext() == u"pdf") return renderPdfFirstPage(file.path, edge);
    switch (file.mediaKind) {
    case MediaKind::Image:
        return readScaledImage(file.path, edge);
    case MediaKind::Video:
    case MediaKind::Audio:
        return readVideoFrame(file.path, edge, isCancelled);
    default:
        return {};
    }
}

QImage FileThumbnailGenerator::fallback(const FileEntry& file, int edge)
{
    return fileTypeIcon(file.path, edge);
}
