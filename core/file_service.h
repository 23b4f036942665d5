#pragma once

#include "duplicate_report.h"
#include "file_operations.h"
#include "serial_executor.h"

#include <QFuture>
#include <memory>

// The file operations run one at a time, in the order they were asked for, on
// the service's own thread. Callers continue on the returned future; a
// cancelled future makes a long job stop at its next check.
class FileService {
public:
    FileService();
    ~FileService();
    FileService(const FileService&) = delete;
    FileService& operator=(const FileService&) = delete;

    QFuture<QList<FileEntry>> contents(const QString& folder, bool hidden);
    // The same listing as several results, the first as soon as the start of
    // the order is known; joined they are contents().
    QFuture<QList<FileEntry>> listing(const QString& folder, bool hidden);
    QFuture<StorageReport> scan(const QString& folder);
    QFuture<void> createFolder(const QString& folder, const QString& name);
    QFuture<void> rename(const QString& item, const QString& name);
    QFuture<void> copy(const QString& item, const QString& folder);
    QFuture<void> trash(const QStringList& items);
    // The same, adding each item that went to `trashed` as it goes, so the
    // ones before a failure can be undone too. Read it once the future ends.
    QFuture<void> trash(const QStringList& items, std::shared_ptr<QList<TrashedItem>> trashed);
    // Files with identical contents, and how many could not be checked.
    QFuture<DuplicateReport> duplicateReport(const QList<FileEntry>& files);
    QFuture<QList<QList<FileEntry>>> duplicates(const QList<FileEntry>& files);

private:
    SerialExecutor executor_;
};
