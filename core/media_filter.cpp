#include "media_filter.h"

#include "code_point_order.h"
#include "day_window.h"
#include "distant_past.h"
#include "natural_order.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

constexpr qint64 kMegabyte = 1'000'000;

bool passesMetadata(const MediaFilter& filter, const MediaMetadata& m)
{
    using O = MediaFilter::Orientation;
    if (filter.orientation != O::Any) {
        if (m.width < 1 || m.height < 1) return false;
        switch (filter.orientation) {
        case O::Landscape:
            if (!(m.width > m.height)) return false;
            break;
        case O::Portrait:
            if (!(m.height > m.width)) return false;
            break;
        case O::Square:
            if (m.width != m.height) return false;
            break;
        case O::Any:
            break;
        }
    }
    if (filter.resolution != MediaFilter::Resolution::Any) {
        const int longer = std::max(m.width, m.height), shorter = std::min(m.width, m.height);
        const bool ultra = filter.resolution == MediaFilter::Resolution::Ultra;
        if (longer < (ultra ? 3840 : 1920) || shorter < (ultra ? 2160 : 1080)) return false;
    }
    using D = MediaFilter::Duration;
    if (filter.duration != D::Any) {
        if (!m.duration) return false;
        const double seconds = *m.duration;
        switch (filter.duration) {
        case D::Short:
            return seconds < 60;
        case D::Medium:
            return seconds >= 60 && seconds <= 600;
        case D::Long:
            return seconds > 600;
        case D::Any:
            break;
        }
    }
    return true;
}

bool passesSize(MediaFilter::Size band, qint64 size)
{
    switch (band) {
    case MediaFilter::Size::Small:
        return size < 10 * kMegabyte;
    case MediaFilter::Size::Medium:
        return size >= 10 * kMegabyte && size <= 100 * kMegabyte;
    case MediaFilter::Size::Large:
        return size > 100 * kMegabyte;
    case MediaFilter::Size::Any:
        break;
    }
    return true;
}

qint64 msecs(const QDateTime& date)
{
    return date.isValid() ? date.toMSecsSinceEpoch() : distantPast().toMSecsSinceEpoch();
}

// Stable sort of `files` by `less` over indices, so keys are made once per file.
template <typename Less> QList<FileEntry> sortedBy(QList<FileEntry>& files, Less less)
{
    std::vector<qsizetype> order(files.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), less);
    QList<FileEntry> sorted;
    sorted.reserve(files.size());
    for (qsizetype index : order)
        sorted.append(std::move(files[index]));
    return sorted;
}

QList<FileEntry> sortByName(QList<FileEntry>& files)
{
    const NaturalOrder natural;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(files.size());
    for (const FileEntry& entry : files)
        keys.push_back(natural.sortKey(entry.name));
    return sortedBy(files, [&](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
}

// Dates or sizes first; equal ones fall back to the plain order of the
// canonically composed names.
QList<FileEntry> sortByNumber(QList<FileEntry>& files, MediaFilter::Sort sort)
{
    const bool bySize = sort == MediaFilter::Sort::Largest || sort == MediaFilter::Sort::Smallest;
    const bool descending = sort == MediaFilter::Sort::Newest || sort == MediaFilter::Sort::Largest;
    std::vector<qint64> keys;
    keys.reserve(files.size());
    for (const FileEntry& entry : files)
        keys.push_back(bySize ? entry.size : msecs(entry.modified));
    std::vector<QString> composed(files.size());
    auto name = [&](qsizetype i) -> const QString& {
        if (composed[i].isNull())
            composed[i] = files[i].name.normalized(QString::NormalizationForm_C);
        return composed[i];
    };
    return sortedBy(files, [&](qsizetype a, qsizetype b) {
        if (keys[a] != keys[b]) return descending ? keys[a] > keys[b] : keys[a] < keys[b];
        return codePointLess(name(a), name(b));
    });
}

} // namespace

QString MediaFilter::formatOf(const FileEntry& entry)
{
    return entry.ext().toUpper();
}

QList<FileEntry> MediaFilter::apply(const QList<FileEntry>& files, const QDateTime& now,
                                    const MediaMetadataMap& metadata) const
{
    const bool byMetadata = needsMetadata();
    const bool byFormat = format != allFormats();
    const DayWindow window(now, days);
    QList<FileEntry> kept;
    kept.reserve(files.size());
    for (const FileEntry& entry : files) {
        if (byMetadata) {
            const auto found = metadata.constFind(entry.path);
            if (found == metadata.constEnd() || !passesMetadata(*this, *found)) continue;
        }
        if (byFormat && formatOf(entry) != format) continue;
        if (days != 0 && !window.contains(entry.modified)) continue;
        if (!passesSize(size, entry.size)) continue;
        kept.append(entry);
    }
    return sort == Sort::Name ? sortByName(kept) : sortByNumber(kept, sort);
}
