#pragma once

#include "file_entry.h"
#include "sections/feature.h"
#include "workspace/visible_entries.h"

#include <QList>
#include <QSet>
#include <QString>
#include <optional>

// The files a folder section loaded, with its search, order and selection,
// and the part of them it shows.
struct SectionList {
    QList<FileEntry> files;
    QSet<QString> selection;
    QString query;
    bool sortByDate = false;

    // The files a section of `feature` shows, in the order shown.
    VisibleEntries visible(Feature feature) const;
    // Whether those are all of `files`, in their order.
    bool showsAll(Feature feature) const;
    // Their number, without gathering them.
    qsizetype visibleCount(Feature feature) const;
    // The first of `files` that is selected.
    std::optional<FileEntry> selected() const;
    // The selection less what `listing` no longer holds; only `reveal` when
    // `listing` holds that.
    QSet<QString> selectionWithin(const QList<FileEntry>& listing,
                                  const QString& reveal = {}) const;
};
