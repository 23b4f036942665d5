#include "explorer/folder_tally.h"

#include <algorithm>

namespace {

qsizetype countFolders(const FileEntry* from, const FileEntry* to)
{
    return std::count_if(from, to, [](const FileEntry& file) { return file.isDirectory; });
}

} // namespace

qsizetype FolderTally::folders(const QList<FileEntry>& files)
{
    if (files.constData() != counted_ || files.size() != size_) {
        counted_ = files.constData();
        size_ = files.size();
        folders_ = countFolders(files.constData(), files.constData() + files.size());
    }
    return folders_;
}

void FolderTally::aboutToGrow(const QList<FileEntry>& files)
{
    growing_ = files.constData() == counted_ && files.size() == size_;
}

void FolderTally::grew(const QList<FileEntry>& files)
{
    if (!std::exchange(growing_, false) || files.size() < size_) return;
    folders_ += countFolders(files.constData() + size_, files.constData() + files.size());
    counted_ = files.constData();
    size_ = files.size();
}
