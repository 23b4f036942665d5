#include "file_service.h"

#include "duplicate_finder.h"
#include "folder_listing.h"

FileService::FileService() = default;

FileService::~FileService() = default;

QFuture<QList<FileEntry>> FileService::contents(const QString& folder, bool hidden)
{
    return executor_.run([=](const CancelCheck& isCancelled) {
        return FileOperations::contents(folder, hidden, isCancelled);
    });
}

QFuture<QList<FileEntry>> FileService::listing(const QString& folder, bool hidden)
{
    return executor_.stream<QList<FileEntry>>(
        [=](const CancelCheck& isCancelled, const FolderListing::Publish& publish) {
            FolderListing::list(folder, hidden, publish, isCancelled);
        });
}

QFuture<StorageReport> FileService::scan(const QString& folder)
{
    return executor_.run(
        [=](const CancelCheck& isCancelled) { return FileOperations::scan(folder, isCancelled); });
}

QFuture<void> FileService::createFolder(const QString& folder, const QString& name)
{
    return executor_.run([=](const CancelCheck&) { FileOperations::createFolder(folder, name); });
}

QFuture<void> FileService::rename(const QString& item, const QString& name)
{
    return executor_.run([=](const CancelCheck&) { FileOperations::rename(item, name); });
}

QFuture<void> FileService::copy(const QString& item, const QString& folder)
{
    return executor_.run([=](const CancelCheck&) { FileOperations::copy(item, folder); });
}

QFuture<void> FileService::trash(const QStringList& items)
{
    return executor_.run([=](const CancelCheck&) { FileOperations::trash(items); });
}

QFuture<void> FileService::trash(const QStringList& items,
                                 std::shared_ptr<QList<TrashedItem>> trashed)
{
    return executor_.run([=](const CancelCheck&) { FileOperations::trash(items, trashed.get()); });
}

QFuture<DuplicateReport> FileService::duplicateReport(const QList<FileEntry>& files)
{
    return executor_.run([=](const CancelCheck& isCancelled) {
        return DuplicateFinder().report(files, isCancelled);
    });
}

QFuture<QList<QList<FileEntry>>> FileService::duplicates(const QList<FileEntry>& files)
{
    return executor_.run([=](const CancelCheck& isCancelled) {
        return DuplicateFinder().report(files, isCancelled).groups;
    });
}
