#pragma once

#include "cancellation.h"
#include "file_entry.h"

#include <QImage>
#include <QStringList>

// Makes the picture of one file. Called on a worker thread, several at once;
// a null image means no picture could be made.
class ThumbnailGenerator {
public:
    virtual ~ThumbnailGenerator() = default;
    // A picture fitting an edge-by-edge square; may stop early when asked to.
    virtual QImage make(const FileEntry& file, int edge, const CancelCheck& isCancelled) = 0;
    // What `fallback` needs to know that may take reading the file (the icons
    // of its type), found on the worker thread after `make` found nothing;
    // empty by default.
    virtual QStringList fallbackIcons(const FileEntry& file);
    // The picture for a file `make` found nothing for, from what `fallbackIcons`
    // said. Called on the GUI thread, since icon themes live there; null by default.
    virtual QImage fallback(const FileEntry& file, const QStringList& icons, int edge);
};
