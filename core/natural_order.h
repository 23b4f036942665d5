#pragma once

#include "file_entry.h"

#include <QCollator>

// The order people expect for names: case-insensitive, runs of digits by
// value ("a2" before "a10"), following the current locale. Not thread-safe:
// make one per thread or per job.
class NaturalOrder {
public:
    NaturalOrder();

    int compare(QStringView a, QStringView b) const { return collator_.compare(a, b); }
    bool operator()(const QString& a, const QString& b) const { return compare(a, b) < 0; }
    // For sorting many names: keys compare far faster than the collator does.
    QCollatorSortKey sortKey(const QString& name) const { return collator_.sortKey(name); }

    // Stable sort, folders first, then by name. Equal names keep their order.
    void sortFoldersFirst(QList<FileEntry>& entries) const;

private:
    QCollator collator_;
};
