#pragma once

#include "file_entry.h"

#include <QSet>
#include <optional>

// What discovery has found so far for one section.
struct LibrarySnapshot {
    QList<FileEntry> files;         // newest content change first
    QSet<QString> screenshots;      // paths among `files` recognised as screen captures
    bool gathering = false;         // the index is still gathering its first results
    std::optional<QString> message; // set only when discovery cannot run

    friend bool operator==(const LibrarySnapshot&, const LibrarySnapshot&) = default;
};
