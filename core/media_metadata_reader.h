#pragma once

#include "file_entry.h"
#include "media_metadata.h"
#include "serial_executor.h"

#include <QFuture>

// Pixel size and play time of media files, read from headers only: image
// headers, and the container's duration and first video stream of movies
// and audio. Reads run one at a time on a thread of their own and never fail:
// what cannot be read comes back as zeros and no duration.
class MediaMetadataReader {
public:
    QFuture<MediaMetadata> read(const FileEntry& file);

    // The same on the calling thread. The route follows `file.mediaKind` alone.
    static MediaMetadata readNow(const FileEntry& file);

private:
    SerialExecutor executor_;
};
