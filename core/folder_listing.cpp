#include "folder_listing.h"

#include "directory_reader.h"
#include "for_halves.h"
#include "native_path.h"
#include "natural_order.h"
#include "path_names.h"

#include <dirent.h>
#include <sys/stat.h>

namespace FolderListing {

namespace {

using Child = DirectoryReader::Child;
using Names = DirectoryReader::Names;

// A name in `names`, which outlives it, without a copy; it ends with a NUL there.
QByteArray nameAt(const Names& names, qsizetype i)
{
    const QByteArrayView name = names.name(i);
    return QByteArray::fromRawData(name.data(), name.size());
}

// readdir tells folders apart for most children; a link or an unknown kind
// needs its stat, since a link to a folder sorts with the folders.
bool isFolder(const DirectoryReader& reader, const Names& names, qsizetype i)
{
    if (names.type(i) == DT_DIR) return true;
    if (names.type(i) != DT_LNK && names.type(i) != DT_UNKNOWN) return false;
    struct stat st;
    return reader.statName(names.name(i).data(), st) && S_ISDIR(st.st_mode);
}

} // namespace

void list(const QString& folder, bool hidden, const Publish& publish,
          const CancelCheck& isCancelled, qsizetype firstBatch, qsizetype batch)
{
    const QString root = absolutePath(folder);
    const int fd = DirectoryReader::openFolder(nativePath(root).constData(), true);
    if (fd < 0) throw FileError::fromErrno(errno, root);
    DirectoryReader reader(fd, hidden, DirectoryReader::Links::Follow);
    Names children;
    if (!reader.readNames(children, isCancelled)) throw FileError::fromErrno(errno, root);

    const qsizetype count = qsizetype(children.size());
    QList<QString> names(count);
    std::vector<bool> folders(count);
    // Decoding is most of the time before the first screen after readdir:
    // two threads share it.
    QString* decoded = names.data();
    forHalves(std::size_t(count), [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if ((i & 0xfff) == 0 && isCancelled && isCancelled()) return;
            decoded[i] = decodePath(children.name(qsizetype(i)));
        }
    });
    throwIfCancelled(isCancelled);
    for (qsizetype i = 0; i < count; ++i)
        folders[i] = isFolder(reader, children, i);
    std::vector<Child> part;
    bool firstPart = true;
    // Publishes the children at `positions`, in that order, once looked at.
    auto publishPart = [&](const qsizetype* positions, qsizetype size) {
        part.resize(std::size_t(size));
        for (qsizetype i = 0; i < size; ++i) {
            part[i].name = nameAt(children, positions[i]);
            part[i].hasStat = false;
            part[i].statFailed = false;
        }
        reader.stat(part.data(), part.size(), isCancelled);
        throwIfCancelled(isCancelled);
        QList<FileEntry> entries;
        // Whoever keeps the whole listing grows the first part: room for
        // every child spares it reallocating a long list as parts arrive.
        entries.reserve(firstPart ? count : size);
        firstPart = false;
        for (qsizetype i = 0; i < size; ++i) {
            // Gone since readdir: not part of the listing.
            if (part[i].statFailed) continue;
            const QString& name = names[positions[i]];
            entries.append(FileEntry::fromStat(childPath(root, name), name, part[i].st));
        }
        publish(std::move(entries));
    };

    const NaturalOrder naturalOrder;
    const std::vector<bool> plain = naturalOrder.plainNames(names);
    // The first screen needs only the least names, not the whole order.
    const std::vector<qsizetype> first =
        count > firstBatch ? naturalOrder.firstFoldersFirst(names, folders, plain, firstBatch)
                           : std::vector<qsizetype>{};
    if (!first.empty()) publishPart(first.data(), qsizetype(first.size()));
    const std::vector<qsizetype> order = naturalOrder.orderFoldersFirst(names, folders, plain);
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
