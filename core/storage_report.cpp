#include "storage_report.h"

StorageReport::StorageReport(QList<FileEntry> files_, int inaccessible_)
    : files(std::move(files_)), inaccessible(inaccessible_)
{
    for (const FileEntry& entry : files)
        total += entry.size;
}
