#pragma once

#include "cancellation.h"
#include "library_candidates.h"
#include "library_result.h"
#include "media_filter.h"
#include "media_metadata.h"
#include "sections/feature.h"
#include "workspace/timeline_group.h"

#include <QHash>
#include <QSet>
#include <memory>
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
    // What the pass searched, for the next pass over the same files.
    std::shared_ptr<const LibraryCandidates> candidates;
};

// One filtering pass: what a section shows for its files, search and filters.
struct FilterPass {
    LibraryCandidates::Scope scope;
    // Gathered by an earlier pass over the same scope (whoever sets it has
    // checked that); the pass gathers its own without.
    std::shared_ptr<const LibraryCandidates> candidates;
    QString query;
    MediaFilter filter;
    QHash<QString, MediaMetadata> metadata;
    bool groupsByDay = false;

    // The inputs of `state`'s section: libraries use the user's media filter,
    // the other sections a fixed one of their own.
    static FilterPass forSection(const SectionFilterState& state);

    // Throws Cancelled at the filtering checkpoints.
    FilterOutput run(const CancelCheck& isCancelled) const;
};
