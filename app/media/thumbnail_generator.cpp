#include "media/thumbnail_generator.h"

QStringList ThumbnailGenerator::fallbackIcons(const FileEntry&)
{
    return {};
}

QImage ThumbnailGenerator::fallback(const FileEntry&, const QStringList&, int)
{
    return {};
}
