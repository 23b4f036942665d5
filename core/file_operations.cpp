#include "file_operations.h"

#include "folder_listing.h"
#include "native_path.h"
#include "path_names.h"
#include "transfer_service.h"
#include "trash_can.h"
#include "tree_walker.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileOperations {

namespace {

QByteArray native(const QString& path)
{
    return nativePath(path);
}

bool exists(const QString& path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0;
}

[[noreturn]] void throwErrno(const QString& path)
{
    throw FileError::fromErrno(errno, path);
}

} // namespace

QList<FileEntry> contents(const QString& folder, bool hidden, const CancelCheck& isCancelled)
{
    QList<FileEntry> entries;
    FolderListing::list(
        folder, hidden,
        [&entries](QList<FileEntry> batch) {
            if (entries.isEmpty())
                entries = std::move(batch);
            else
                entries.append(std::move(batch));
        },
        isCancelled, FolderListing::kBatch);
    return entries;
}

CompactStorageReport scanCompact(const QString& folder, const CancelCheck& isCancelled,
                                 const std::function<void(qint64)>& progress)
{
    CompactStorageReport report{FileTable(absolutePath(folder)), 0};
    qint64 seen = 0;
    TreeWalker::walkRaw(
        folder, false,
        [&](const TreeWalker::RawItem& item) {
            if (progress && (++seen & 0xfff) == 0) progress(seen);
            if (!item.st) {
                ++report.inaccessible;
            } else if (S_ISDIR(item.st->st_mode)) {
                // Numbered like the walk's folders, whether or not they are entered.
                report.files.addFolder(item.folder, item.name);
            } else {
                report.files.addFile(item.folder, item.name, *item.st);
            }
        },
        isCancelled);
    return report;
}

StorageReport scan(const QString& folder, const CancelCheck& isCancelled,
                   const std::function<void(qint64)>& progress)
{
    return scanCompact(folder, isCancelled, progress).expanded();
}

void validateName(const QString& name)
{
    const bool invalid = name.trimmed().isEmpty() || name.contains(u'/') || name.contains(u':') ||
                         name == u"." || name == u".." || name.contains(QChar(0));
    if (invalid) throw FileError(FileError::Code::FileWriteInvalidFileName, name);
}

void createFolder(const QString& folder, const QString& name)
{
    validateName(name);
    const QString path = childPath(folder, name);
    if (::mkdir(native(path).constData(), 0777) != 0) throwErrno(path);
}

void moveNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = native(from), target = native(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return;
    if (errno == EEXIST) throw FileError(FileError::Code::FileWriteFileExists, to);
    if (errno != EINVAL && errno != ENOSYS) throwErrno(from);
    // File systems without the no-replace flag: the best we can do is look first.
    if (exists(to)) throw FileError(FileError::Code::FileWriteFileExists, to);
    if (::rename(source.constData(), target.constData()) != 0) throwErrno(from);
}

void rename(const QString& item, const QString& name)
{
    validateName(name);
    const QString path = absolutePath(item);
    const QString destination = childPath(parentFolder(path), name);
    if (destination == path) return;
    moveNoReplace(path, destination);
}

void copy(const QString& item, const QString& folder)
{
    TransferService::copy(item, folder, {}, {});
}

void trash(const QStringList& items, QList<TrashedItem>* trashed)
{
    for (const QString& item : items) {
        if (!exists(item)) throwErrno(item);
        if (trashed)
            trashed->append(TrashCan::trashItem(item));
        else
            TrashCan::trash(item);
    }
}

} // namespace FileOperations
