#include "workspace/timeline_group.h"

#include <QHash>
#include <algorithm>

QList<TimelineGroup> TimelineGroup::byDay(const QList<FileEntry>& files, const QTimeZone& zone)
{
    QList<TimelineGroup> groups;
    QHash<QDate, qsizetype> indexOfDay;
    for (const FileEntry& file : files) {
        const QDate date = file.modified.toTimeZone(zone).date();
        auto found = indexOfDay.constFind(date);
        if (found == indexOfDay.cend()) {
            // startOfDay copes with days that begin at 01:00 after a clock change.
            found = indexOfDay.insert(date, groups.size());
            groups.append(TimelineGroup{date.startOfDay(zone), {}});
        }
        groups[*found].files.append(file);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const TimelineGroup& a, const TimelineGroup& b) { return a.day > b.day; });
    return groups;
}
