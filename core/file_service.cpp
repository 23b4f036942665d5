#include "file_service.h"

FileService::FileService()
{
    thread_.setMaxThreadCount(1);
    // Keep the one thread alive between calls instead of starting a new one each time.
    thread_.setExpiryTimeout(-1);
}

FileService::~FileService()
{
    thread_.waitForDone();
}

QFuture<QList<FileEntry>> FileService::contents(const QString& folder, bool hidden)
{
    return submit([=](const CancelCheck&) { return FileOperations::contents(folder, hidden); });
}

QFuture<StorageReport> FileService::scan(const QString& folder)
{
    return submit([=](const CancelCheck& isCancelled) {
        return FileOperations::scan(folder, isCancelled);
    });
}

QFuture<void> FileService::createFolder(const QString& folder, const QString& name)
{
    return submit([=](const CancelCheck&) { FileOperations::createFolder(folder, name); });
}

QFuture<void> FileService::rename(const QString& item, const QString& name)
{
    return submit([=](const CancelCheck&) { FileOperations::rename(item, name); });
}

QFuture<void> FileService::copy(const QString& item, const QString& folder)
{
    return submit([=](const CancelCheck&) { FileOperations::copy(item, folder); });
}

QFuture<void> FileService::trash(const QStringList& items)
{
    return submit([=](const CancelCheck&) { FileOperations::trash(items); });
}
