#include "duplicate_report.h"

#include <algorithm>

qsizetype DuplicateReport::extraCopies(const QList<FileEntry>& group,
                                       const QHash<QString, QString>& sameFileAs)
{
    const auto linked = std::count_if(group.begin(), group.end(), [&](const FileEntry& file) {
        return sameFileAs.contains(file.path);
    });
    return std::max<qsizetype>(0, group.size() - qsizetype(linked) - 1);
}

qsizetype DuplicateReport::extraCopies(const QList<FileEntry>& group) const
{
    return extraCopies(group, sameFileAs);
}

qint64 DuplicateReport::wasted(const QList<FileEntry>& group) const
{
    return group.isEmpty() ? 0 : group.first().size * qint64(extraCopies(group));
}

qint64 DuplicateReport::wasted() const
{
    qint64 total = 0;
    for (const QList<FileEntry>& group : groups)
        total += wasted(group);
    return total;
}
