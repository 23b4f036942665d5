#pragma once

#include "cancellation.h"
#include "library_result.h"
#include "media_filter.h"
#include "media_metadata.h"
#include "sections/feature.h"
#include "workspace/timeline_group.h"

#include <QHash>
#include <QSet>
#include <optional>

// The section state a filtering pass works from, copied when it is scheduled.
struct SectionFilterState {
    Feature feature = Feature::Explorer;
    QList<FileEntry> files;
    qint64 minimumFileSize = 0;
    int timelineDays = 0;
    QSet<QString> screenshots;
    QString query;
    MediaFilter mediaFilter;
    bool sortByDate = false;
    QHash<QString, MediaMetadata> metadata;
};

struct FilterOutput {
    LibraryResult result;
    QList<TimelineGroup> timelineGroups;
};

// One filtering pass: what a section shows for its files, search and filters.
struct FilterPass {
    QList<FileEntry> files;
    qint64 minimumSize = 0;
    std::optional<MediaKind> kind;
    bool screenshotsOnly = false;
    QSet<QString> screenshots;
    QString query;
    MediaFilter filter;
    QHash<QString, MediaMetadata> metadata;
    bool filesOnly = true;
    bool groupsByDay = false;

    // The inputs of `state`'s section: libraries use the user's media filter,
    // the other sections a fixed one of their own.
    static FilterPass forSection(const SectionFilterState& state);

    // Throws Cancelled at the filtering checkpoints.
    FilterOutput run(const CancelCheck& isCancelled) const;
};
