#pragma once

#include "cancellation.h"
#include "file_entry.h"

#include <QList>
#include <functional>

// A folder's direct children, folders first, then names in natural order,
// handed out in batches as they are ready: all names are read and sorted
// before any stat, so the first batch (a screen's worth) goes out after one
// readdir pass and a few hundred stats; the rest follow in larger batches.
namespace FolderListing {

using Publish = std::function<void(QList<FileEntry>)>;

// The batch sizes: the first fills a screen, the others keep each hand-over short.
constexpr qsizetype kFirstBatch = 512;
constexpr qsizetype kBatch = 16384;

// Publishes at least one batch (empty for an empty folder); the batches
// joined are the listing. Throws FileError when the folder can't be read, and
// Cancelled when `isCancelled` says so (asked every few thousand entries).
void list(const QString& folder, bool hidden, const Publish& publish,
          const CancelCheck& isCancelled = {}, qsizetype firstBatch = kFirstBatch,
          qsizetype batch = kBatch);

} // namespace FolderListing
