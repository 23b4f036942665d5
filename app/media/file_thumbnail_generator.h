#pragma once

#include "media/freedesktop_thumbnails.h"
#include "media/isolated_render.h"
#include "media/thumbnail_generator.h"

// Pictures from the files themselves: scaled images, a frame of a video (or an
// audio file's cover), the first page of a PDF; the type's icon for the rest.
// A fresh thumbnail in the freedesktop cache is taken instead of rendering.
// PDF pages and video frames, which hostile files can make endless, are
// rendered in a child process within `limits`.
class FileThumbnailGenerator : public ThumbnailGenerator {
public:
    explicit FileThumbnailGenerator(FreedesktopThumbnails shared = FreedesktopThumbnails(),
                                    RenderLimits limits = RenderLimits());

    QImage make(const FileEntry& file, int edge, const CancelCheck& isCancelled) override;
    QStringList fallbackIcons(const FileEntry& file) override;
    QImage fallback(const FileEntry& file, const QStringList& icons, int edge) override;

private:
    FreedesktopThumbnails shared_;
    RenderLimits limits_;
};
