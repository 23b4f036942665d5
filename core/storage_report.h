#pragma once

#include "file_entry.h"

// Every non-directory item under a scanned folder, in walk order.
struct StorageReport {
    QList<FileEntry> files;
    int inaccessible = 0;
    qint64 total = 0;

    StorageReport() = default;
    StorageReport(QList<FileEntry> files, int inaccessible);

    friend bool operator==(const StorageReport&, const StorageReport&) = default;
};
