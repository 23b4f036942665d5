#pragma once

#include "cancellation.h"
#include "duplicate_report.h"

#include <functional>

// Finds files whose whole contents have the same SHA-256. Only files sharing
// their exact size are read; a first and last block sort out most of those
// before the full read, and each inode (hard links included) is read once.
// Two workers read and hash side by side.
class DuplicateFinder {
public:
    // Heard with a file's path after its contents were read and before its
    // properties are checked again; lets tests change a file mid-check.
    using ReadHook = std::function<void(const QString& path)>;

    explicit DuplicateFinder(int workers = 2);

    void setReadHook(ReadHook hook) { readHook_ = std::move(hook); }

    // Regular files of at least one byte are candidates; symbolic links,
    // folders, pipes, sockets and devices are not. Files that can't be read or
    // that change while they are checked count as skipped. Throws Cancelled
    // when `isCancelled` says so (asked per file and per 1 MiB read).
    DuplicateReport report(const QList<FileEntry>& files,
                           const CancelCheck& isCancelled = {}) const;

private:
    int workers_;
    ReadHook readHook_;
};
