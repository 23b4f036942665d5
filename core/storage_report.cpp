#include "storage_report.h"

#include <utility>

StorageReport::StorageReport(QList<FileEntry> files_, int inaccessible_)
    : files(std::move(files_)), inaccessible(inaccessible_)
{
    // std::as_const: a shared list must not be copied just to be read.
    for (const FileEntry& entry : std::as_const(files))
        total += entry.size;
}
