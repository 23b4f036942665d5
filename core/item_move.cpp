#include "item_move.h"

#include "item_placement.h"
#include "native_path.h"
#include "path_names.h"
#include "transfer_service.h"
#include "tree_walker.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace ItemMove {

namespace {

std::optional<struct stat> statOf(const QString& path)
{
    struct stat st;
    if (::lstat(nativePath(path).constData(), &st) != 0) return std::nullopt;
    return st;
}

bool sameTime(const struct timespec& a, const struct timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Merged source folders whose contents all left: they go too, deepest first.
// Ones that still hold skipped items stay.
QStringList removeEmptied(const ItemPlacement& placement, bool useShown)
{
    QStringList removed;
    const auto& merged = placement.merged();
    for (auto it = merged.rbegin(); it != merged.rend(); ++it) {
        const QString& folder = useShown ? it->second : it->first;
        if (::rmdir(nativePath(folder).constData()) == 0) removed.append(folder);
    }
    return removed;
}

TransferOutcome moveAcross(const QString& source, const QString& destination,
                           const TransferEngine::Handlers& handlers, ConflictResolver& conflicts)
{
    // The source can only leave by the trash: where there is none, nothing is copied.
    if (!TrashCan::canTrash(source))
        throw FileError::withMessage(
            FileError::Code::FileWriteUnknown, source,
            QCoreApplication::translate(
                "ItemMove", "\u201C%1\u201D can\u2019t be moved to another disk: its own "
                            "disk has no trash to take the original. Copy it instead.")
                .arg(QFileInfo(source).fileName()));
    TransferOutcome outcome =
        TransferService::copyItem(source, destination, handlers, conflicts,
                                  [&](const QString& temporary) { verifyCopy(source, temporary); });
    // Each placed item's source, as it was checked; a failure here leaves it
    // and the ones after it where they are, next to their copies.
    QStringList emptied;
    for (PlacedItem& placed : outcome.placed) {
        placed.sourceTrashed = TrashCan::trashItem(placed.from);
        for (QString folder = placed.from; folder != source && folder.size() > source.size();) {
            folder = parentFolder(folder);
            if (!emptied.contains(folder)) emptied.append(folder);
        }
    }
    // Source folders merged item by item: the ones left empty go, deepest first.
    std::sort(emptied.begin(), emptied.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& folder : emptied)
        if (::rmdir(nativePath(folder).constData()) == 0) outcome.removedFolders.append(folder);
    return outcome;
}

} // namespace

void verifyCopy(const QString& source, const QString& copy)
{
    const QString root = absolutePath(source);
    auto check = [&](const QString& path, const struct stat* st) {
        const std::optional<struct stat> copied = statOf(copy + path.mid(root.size()));
        const bool same = st && copied && (st->st_mode & S_IFMT) == (copied->st_mode & S_IFMT) &&
                          (!S_ISREG(st->st_mode) || (st->st_size == copied->st_size &&
                                                     sameTime(st->st_mtim, copied->st_mtim)));
        if (!same) throw FileError(FileError::Code::FileReadUnknown, path);
    };
    const std::optional<struct stat> top = statOf(root);
    if (!top || !S_ISDIR(top->st_mode)) {
        check(root, top ? &*top : nullptr);
        return;
    }
    TreeWalker::walk(root, true, [&](const TreeWalker::Item& item) { check(item.path, item.st); });
}

TransferOutcome move(const QString& source, const QString& destination,
                     const TransferEngine::Handlers& handlers, ConflictResolver& conflicts)
{
    const QString item = absolutePath(source);
    const QString folder = absolutePath(destination);
    const QString name = QFileInfo(item).fileName();
    if (name.isEmpty()) throw FileError(FileError::Code::FileWriteInvalidFileName, item);
    const std::optional<struct stat> from = statOf(item);
    if (!from) throw FileError::fromErrno(errno, item);
    struct stat into;
    if (::stat(nativePath(folder).constData(), &into) != 0)
        throw FileError::fromErrno(errno, folder);
    // Already there: nothing to move.
    if (parentFolder(item) == folder) return {};
    if (from->st_dev != into.st_dev) return moveAcross(item, folder, handlers, conflicts);

    TransferService::refuseNesting(item, folder);
    ItemPlacement placement(conflicts, handlers.isCancelled);
    try {
        placement.place(item, item, folder, name);
    } catch (const FileError& error) {
        // A bind mount of the same file system still can't be renamed across.
        if (error.systemError() != EXDEV || !placement.placed().isEmpty()) throw;
        return moveAcross(item, folder, handlers, conflicts);
    }
    return {placement.placed(), removeEmptied(placement, false)};
}

} // namespace ItemMove
