#pragma once

#include "file_entry.h"

// Groups of two or more files with identical contents, and how many candidates
// could not be read.
struct DuplicateReport {
    QList<QList<FileEntry>> groups;
    int skipped = 0;

    friend bool operator==(const DuplicateReport&, const DuplicateReport&) = default;
};
