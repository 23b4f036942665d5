#pragma once

#include "file_entry.h"

#include <QStringList>

// The library files that passed search and filters, in display order.
struct LibraryResult {
    QList<FileEntry> files;
    QStringList formats;
    qint64 totalBytes = 0;

    static const LibraryResult& empty();

    friend bool operator==(const LibraryResult&, const LibraryResult&) = default;
};
