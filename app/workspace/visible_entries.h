#pragma once

#include "file_entry.h"

#include <QList>

// A section's visible list as rows of one loaded list: the list itself is
// shared, not copied, and only a filtered or reordered view keeps positions.
struct VisibleEntries {
    QList<FileEntry> source;
    // Positions in `source`, in the order shown; unused when `all` is set.
    QList<int> rows;
    bool all = true;

    qsizetype size() const { return all ? source.size() : rows.size(); }
    bool isEmpty() const { return size() == 0; }
    const FileEntry& at(qsizetype row) const { return source.at(all ? row : rows.at(row)); }

    QList<FileEntry> toList() const
    {
        if (all) return source;
        QList<FileEntry> list;
        list.reserve(rows.size());
        for (const int row : rows)
            list.append(source.at(row));
        return list;
    }
};
