#include "workspace/section_list.h"

#include "day_window.h"

#include <QDateTime>
#include <algorithm>

namespace {

bool sortsByDate(Feature feature)
{
    return feature == Feature::Timeline || feature == Feature::Recent;
}

// Whether `file` passes the search and the section's own rule.
bool isShown(const FileEntry& file, Feature feature, const QString& query, const DayWindow& recent)
{
    if (!query.isEmpty() && !file.name.contains(query, Qt::CaseInsensitive)) return false;
    if (feature == Feature::Recent) return !file.isDirectory && recent.contains(file.modified);
    if (feature == Feature::Timeline) return !file.isDirectory;
    return true;
}

DayWindow recentDays()
{
    return DayWindow(QDateTime::currentDateTimeUtc(), DayWindow::recentDays);
}

} // namespace

bool SectionList::showsAll(Feature feature) const
{
    return query.isEmpty() && !sortByDate && !sortsByDate(feature);
}

VisibleEntries SectionList::visible(Feature feature) const
{
    const bool byDate = sortByDate || sortsByDate(feature);
    if (showsAll(feature)) return {files, {}, true};
    const DayWindow recent = recentDays();
    VisibleEntries shown{files, {}, false};
    for (int row = 0; row < files.size(); ++row)
        if (isShown(files[row], feature, query, recent)) shown.rows.append(row);
    shown.rows.squeeze();
    if (byDate)
        std::stable_sort(shown.rows.begin(), shown.rows.end(),
                         [this](int a, int b) { return files[a].modified > files[b].modified; });
    return shown;
}

qsizetype SectionList::visibleCount(Feature feature) const
{
    if (query.isEmpty() && !sortsByDate(feature)) return files.size();
    const DayWindow recent = recentDays();
    return std::count_if(files.begin(), files.end(), [&](const FileEntry& file) {
        return isShown(file, feature, query, recent);
    });
}

std::optional<FileEntry> SectionList::selected() const
{
    if (selection.isEmpty()) return std::nullopt;
    for (const FileEntry& file : files)
        if (selection.contains(file.path)) return file;
    return std::nullopt;
}

QSet<QString> SectionList::selectionWithin(const QList<FileEntry>& listing,
                                           const QString& reveal) const
{
    QSet<QString> present;
    present.reserve(listing.size());
    for (const FileEntry& file : listing)
        present.insert(file.path);
    if (!reveal.isEmpty() && present.contains(reveal)) return {reveal};
    QSet<QString> kept = selection;
    kept.intersect(present);
    return kept;
}
