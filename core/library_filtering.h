#pragma once

#include "cancellation.h"
#include "library_candidates.h"
#include "library_result.h"
#include "media_filter.h"

#include <QSet>
#include <optional>

// What a library section shows: the files of its kind that match the search
// and the filter, the formats its picker offers, and their byte total.
namespace LibraryFiltering {

// `screenshots` holds the paths the file index marked as screenshots. Throws
// Cancelled when `isCancelled` says so at one of its checkpoints: every 256th
// entry, after the walk and after the filter.
LibraryResult evaluate(const QList<FileEntry>& files, std::optional<MediaKind> kind,
                       bool screenshotsOnly, const QSet<QString>& screenshots, const QString& query,
                       const MediaFilter& filter, const MediaMetadataMap& metadata, bool filesOnly,
                       const CancelCheck& isCancelled = {});

// The same over candidates gathered before, which spares the walk: the
// checkpoints are every 256th match, after the search and after the filter.
LibraryResult evaluate(const LibraryCandidates& candidates, const QString& query,
                       const MediaFilter& filter, const MediaMetadataMap& metadata,
                       const CancelCheck& isCancelled = {});

} // namespace LibraryFiltering
