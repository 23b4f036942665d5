#include "folder_listing.h"

#include "directory_reader.h"
#include "native_path.h"
#include "natural_order.h"
#include "path_names.h"

#include <dirent.h>
#include <sys/stat.h>

namespace FolderListing {

namespace {

using Child = DirectoryReader::Child;

// readdir tells folders apart for most children; a link or an unknown kind
// needs its stat, since a link to a folder sorts with the folders.
bool isFolder(const DirectoryReader& reader, Child& child)
{
    if (child.type == DT_DIR) return true;
    if (child.type != DT_LNK && child.type != DT_UNKNOWN) return false;
    reader.stat(child);
    return !child.statFailed && S_ISDIR(child.st.st_mode);
}

} // namespace

void list(const QString& folder, bool hidden, const Publish& publish,
          const CancelCheck& isCancelled, qsizetype firstBatch, qsizetype batch)
{
    const QString root = absolutePath(folder);
    const int fd = DirectoryReader::openFolder(nativePath(root).constData(), true);
    if (fd < 0) throw FileError::fromErrno(errno, root);
    DirectoryReader reader(fd, hidden, DirectoryReader::Links::Follow);
    std::vector<Child> children;
    if (!reader.readNames(children, isCancelled)) throw FileError::fromErrno(errno, root);

    const qsizetype count = qsizetype(children.size());
    QList<QString> names;
    names.reserve(count);
    std::vector<bool> folders(count);
    for (qsizetype i = 0; i < count; ++i) {
        if ((i & 0xfff) == 0) throwIfCancelled(isCancelled);
        names.append(decodePath(children[i].name));
        folders[i] = isFolder(reader, children[i]);
    }
    std::vector<Child> part;
    // Publishes the children at `positions`, in that order, once looked at.
    auto publishPart = [&](const qsizetype* positions, qsizetype size) {
        part.clear();
        for (const qsizetype* at = positions; at != positions + size; ++at)
            part.push_back(std::move(children[*at]));
        reader.stat(part.data(), part.size(), isCancelled);
        throwIfCancelled(isCancelled);
        QList<FileEntry> entries;
        entries.reserve(size);
        for (qsizetype i = 0; i < size; ++i) {
            // Gone since readdir: not part of the listing.
            if (part[i].statFailed) continue;
            const QString& name = names[positions[i]];
            entries.append(FileEntry::fromStat(childPath(root, name), name, part[i].st));
        }
        publish(std::move(entries));
    };

    const NaturalOrder naturalOrder;
    // The first screen needs only the least names, not the whole order.
    const std::vector<qsizetype> first =
        count > firstBatch ? naturalOrder.firstFoldersFirst(names, folders, firstBatch)
                           : std::vector<qsizetype>{};
    if (!first.empty()) publishPart(first.data(), qsizetype(first.size()));
    const std::vector<qsizetype> order = naturalOrder.orderFoldersFirst(names, folders);
    throwIfCancelled(isCancelled);
    qsizetype from = qsizetype(first.size());
    qsizetype size = first.empty() ? firstBatch : batch;
    do {
        const qsizetype to = std::min(count, from + size);
        publishPart(order.data() + from, to - from);
        from = to;
        size = batch;
    } while (from < count);
}

} // namespace FolderListing
