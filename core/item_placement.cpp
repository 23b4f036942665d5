#include "item_placement.h"

#include "directory_reader.h"
#include "file_operations.h"
#include "free_name.h"
#include "native_path.h"
#include "path_names.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>

namespace {

std::optional<struct stat> statOf(const QString& path)
{
    struct stat st;
    if (::lstat(nativePath(path).constData(), &st) != 0) return std::nullopt;
    return st;
}

bool isFolder(const std::optional<struct stat>& st)
{
    return st && S_ISDIR(st->st_mode);
}

QString realOrSame(const QString& path)
{
    char* resolved = ::realpath(nativePath(path).constData(), nullptr);
    if (!resolved) return path;
    const QString result = decodePath(resolved);
    std::free(resolved);
    return result;
}

// Replacing `target` would throw away `item` itself, or a folder holding it.
bool wouldLose(const QString& item, const QString& target)
{
    const std::optional<struct stat> a = statOf(item), b = statOf(target);
    if (a && b && a->st_dev == b->st_dev && a->st_ino == b->st_ino) return true;
    const QString holder = realOrSame(target);
    return realOrSame(item).startsWith(holder + u'/');
}

QStringList childrenOf(const QString& folder)
{
    const int fd = DirectoryReader::openFolder(nativePath(folder).constData(), false);
    if (fd < 0) throw FileError::fromErrno(errno, folder);
    DirectoryReader reader(fd, true, DirectoryReader::Links::DontFollow);
    std::vector<DirectoryReader::Child> children;
    if (!reader.read(children)) throw FileError::fromErrno(errno, folder);
    QStringList names;
    for (const DirectoryReader::Child& child : children)
        names.append(decodePath(child.name));
    return names;
}

} // namespace

ItemPlacement::ItemPlacement(ConflictResolver& resolver, CancelCheck isCancelled)
    : resolver_(resolver), isCancelled_(std::move(isCancelled))
{
}

void ItemPlacement::place(const QString& item, const QString& shown, const QString& folder,
                          const QString& name, std::optional<ConflictAnswer> preset)
{
    QString currentName = name;
    std::optional<TrashedItem> replaced;
    for (;;) {
        throwIfCancelled(isCancelled_);
        const QString target = childPath(folder, currentName);
        try {
            FileOperations::moveNoReplace(item, target);
            placed_.append({shown, target, replaced, std::nullopt});
            return;
        } catch (const FileError& error) {
            if (error.code() != FileError::Code::FileWriteFileExists) throw;
        }
        const std::optional<struct stat> existing = statOf(target);
        const bool itemIsFolder = isFolder(statOf(item));
        const NameConflict conflict{shown, target, itemIsFolder, isFolder(existing)};
        const ConflictAnswer answer =
            preset ? *std::exchange(preset, std::nullopt) : resolver_.resolve(conflict);
        switch (answer) {
        case ConflictAnswer::Skip:
            return;
        case ConflictAnswer::KeepBoth:
            currentName = FreeName::next(folder, currentName, itemIsFolder);
            break;
        case ConflictAnswer::Replace:
            if (wouldLose(item, target) || wouldLose(shown, target))
                throw FileError::withMessage(
                    FileError::Code::FileWriteFileExists, target,
                    QCoreApplication::translate(
                        "ItemPlacement",
                        "\u201C%1\u201D can\u2019t replace the item it comes from.")
                        .arg(currentName));
            // A second replace of the same name keeps only the latest record.
            replaced = TrashCan::trashItem(target);
            break;
        case ConflictAnswer::Merge:
            if (!conflict.canMerge()) throw FileError(FileError::Code::FileWriteFileExists, target);
            merge(item, shown, target);
            return;
        }
    }
}

void ItemPlacement::merge(const QString& item, const QString& shown, const QString& into)
{
    merged_.append({item, shown});
    for (const QString& child : childrenOf(item))
        place(childPath(item, child), childPath(shown, child), into, child);
}
