#include "media/thumbnail_generator.h"

QImage ThumbnailGenerator::fallback(const FileEntry&, int)
{
    return {};
}
