#pragma once

#include "file_entry.h"
#include "populated_block.h"

#include <QByteArrayView>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

struct stat;

// The files of a scan, held compactly: each file keeps the number of its folder
// and its name as the system gave it; a FileEntry, with its path, is made only
// when asked for. Folders are numbered as a walk meets them (the root is 0).
class FileTable {
public:
    // `root`: the absolute, clean path of folder 0.
    explicit FileTable(const QString& root);

    // Building, in walk order. A folder takes the next number.
    void addFolder(std::uint32_t parent, QByteArrayView name);
    void addFile(std::uint32_t folder, QByteArrayView name, const struct stat& st);

    qsizetype size() const { return qsizetype(count_); }
    bool isEmpty() const { return count_ == 0; }
    // Sum of the sizes of the files.
    qint64 total() const { return total_; }
    qint64 fileSize(qsizetype index) const { return fileAt(index).size; }
    QString path(qsizetype index) const;
    FileEntry entry(qsizetype index) const;

    // Every file in walk order, made one at a time.
    template <typename Visit> void forEach(Visit&& visit) const
    {
        for (qsizetype i = 0; i < size(); ++i)
            visit(entry(i));
    }
    QList<FileEntry> entries() const;

private:
    struct File {
        std::uint64_t nameOffset;
        qint64 size;
        qint64 modifiedMsecs;
        std::uint32_t folder;
        std::uint16_t nameLength;
    };

    // Records in blocks of this many: the table grows without copying (no moment
    // holds it twice) and with one mapping per block.
    static constexpr std::size_t kFilesPerBlock = 4096;

    QByteArrayView nameOf(const File& file) const;
    const File& fileAt(qsizetype index) const
    {
        return fileBlocks_[std::size_t(index) / kFilesPerBlock]
            .as<File>()[std::size_t(index) % kFilesPerBlock];
    }

    std::vector<PopulatedBlock> fileBlocks_;
    std::size_t count_ = 0;
    // Names side by side in blocks; a name never spans two blocks.
    std::vector<PopulatedBlock> nameBlocks_;
    std::size_t nameUsed_ = 0;
    // Folders are few next to files: each keeps its decoded path.
    std::deque<QString> folderPaths_;
    qint64 total_ = 0;
};
