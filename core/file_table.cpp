#include "file_table.h"

#include "native_path.h"
#include "path_names.h"

#include <cstring>
#include <sys/stat.h>

namespace {

constexpr std::size_t nameBlockSize = 1 << 18;

} // namespace

FileTable::FileTable(const QString& root)
{
    folderPaths_.push_back(root);
}

void FileTable::addFolder(std::uint32_t parent, QByteArrayView name)
{
    folderPaths_.push_back(childPath(folderPaths_[parent], decodePath(name)));
}

void FileTable::addFile(std::uint32_t folder, QByteArrayView name, const struct stat& st)
{
    // A name is at most NAME_MAX bytes; a block always has room for one.
    const std::size_t length = std::min<std::size_t>(std::size_t(name.size()), UINT16_MAX);
    if (nameUsed_ + length > nameBlocks_.size() * nameBlockSize) {
        nameUsed_ = nameBlocks_.size() * nameBlockSize;
        nameBlocks_.emplace_back(nameBlockSize);
    }
    std::memcpy(nameBlocks_.back().as<char>() + nameUsed_ % nameBlockSize, name.data(), length);
    const qint64 size = std::max<qint64>(0, st.st_size);
    const qint64 msecs = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    if (count_ == fileBlocks_.size() * kFilesPerBlock)
        fileBlocks_.emplace_back(kFilesPerBlock * sizeof(File));
    fileBlocks_.back().as<File>()[count_ % kFilesPerBlock] =
        File{nameUsed_, size, msecs, folder, std::uint16_t(length)};
    ++count_;
    nameUsed_ += length;
    total_ += size;
}

QByteArrayView FileTable::nameOf(const File& file) const
{
    const char* block = nameBlocks_[file.nameOffset / nameBlockSize].as<char>();
    return QByteArrayView(block + file.nameOffset % nameBlockSize, file.nameLength);
}

QString FileTable::path(qsizetype index) const
{
    const File& file = fileAt(index);
    return childPath(folderPaths_[file.folder], decodePath(nameOf(file)));
}

FileEntry FileTable::entry(qsizetype index) const
{
    const File& file = fileAt(index);
    return FileEntry::indexed(path(index), file.size,
                              QDateTime::fromMSecsSinceEpoch(file.modifiedMsecs, Qt::UTC), false);
}

QList<FileEntry> FileTable::entries() const
{
    QList<FileEntry> list;
    list.reserve(size());
    forEach([&](FileEntry entry) { list.append(std::move(entry)); });
    return list;
}
