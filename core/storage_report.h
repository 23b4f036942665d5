#pragma once

#include "file_entry.h"
#include "file_table.h"

// Every non-directory item under a scanned folder, in walk order.
struct StorageReport {
    QList<FileEntry> files;
    int inaccessible = 0;
    qint64 total = 0;

    StorageReport() = default;
    StorageReport(QList<FileEntry> files, int inaccessible);

    friend bool operator==(const StorageReport&, const StorageReport&) = default;
};

// A scan's result with the files held compactly, for callers that go through
// them once (the command line) or keep only a few.
struct CompactStorageReport {
    FileTable files;
    int inaccessible = 0;

    qint64 total() const { return files.total(); }
    StorageReport expanded() const { return StorageReport(files.entries(), inaccessible); }
};
