#include "duplicate_report.h"

#include <algorithm>

qint64 DuplicateReport::wasted(const QList<FileEntry>& group) const
{
    const auto linked = std::count_if(group.begin(), group.end(), [&](const FileEntry& file) {
        return sameFileAs.contains(file.path);
    });
    const qint64 files = group.size() - qint64(linked);
    return group.isEmpty() || files < 2 ? 0 : group.first().size * (files - 1);
}

qint64 DuplicateReport::wasted() const
{
    qint64 total = 0;
    for (const QList<FileEntry>& group : groups)
        total += wasted(group);
    return total;
}
