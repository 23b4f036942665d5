#include "library_filtering.h"

LibraryResult LibraryFiltering::evaluate(const QList<FileEntry>& files,
                                         std::optional<MediaKind> kind, bool screenshotsOnly,
                                         const QSet<QString>& screenshots, const QString& query,
                                         const MediaFilter& filter,
                                         const MediaMetadataMap& metadata, bool filesOnly,
                                         const CancelCheck& isCancelled)
{
    const LibraryCandidates candidates({files, kind, screenshotsOnly, screenshots, filesOnly, 0},
                                       isCancelled);
    return evaluate(candidates, query, filter, metadata, isCancelled);
}

LibraryResult LibraryFiltering::evaluate(const LibraryCandidates& candidates, const QString& query,
                                         const MediaFilter& filter,
                                         const MediaMetadataMap& metadata,
                                         const CancelCheck& isCancelled)
{
    const QList<FileEntry> matched = candidates.matching(query, isCancelled);
    throwIfCancelled(isCancelled);

    LibraryResult result;
    result.files = filter.apply(matched, QDateTime::currentDateTimeUtc(), metadata);
    throwIfCancelled(isCancelled);
    result.formats = candidates.formats(filter.format);
    for (const FileEntry& entry : result.files)
        result.totalBytes += entry.size;
    return result;
}
