#pragma once

#include "file_entry.h"

#include <QList>

// How many of a section's files are folders. A list that grows part by part
// is counted part by part: counting all of a million entries again for each
// part would hold the window up.
class FolderTally {
public:
    // The folders in `files`; counted again only when it is not the list
    // last counted, or that list grown as grew() was told.
    qsizetype folders(const QList<FileEntry>& files);
    // `files` is about to grow at its end.
    void aboutToGrow(const QList<FileEntry>& files);
    // `files` grew as announced.
    void grew(const QList<FileEntry>& files);

private:
    // The list counted, known by its entries' address and number: a new list
    // comes in a new block while the old one is still held.
    const FileEntry* counted_ = nullptr;
    qsizetype size_ = 0;
    qsizetype folders_ = 0;
    bool growing_ = false;
};
