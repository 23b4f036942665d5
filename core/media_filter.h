#pragma once

#include "file_entry.h"
#include "media_metadata.h"
#include "raw_enum.h"

#include <QCoreApplication>
#include <QHash>

// Media properties read so far, by absolute file path.
using MediaMetadataMap = QHash<QString, MediaMetadata>;

// The narrowing and ordering a user picks above a library section. The raw
// value of each choice is the title the filter bar shows.
struct MediaFilter {
    enum class Orientation { Any, Landscape, Portrait, Square };
    enum class Resolution { Any, Hd, Ultra };
    enum class Duration { Any, Short, Medium, Long };
    enum class Size { Any, Small, Medium, Large };
    enum class Sort { Newest, Oldest, Name, Largest, Smallest };

    static QString allFormats() { return QStringLiteral("All formats"); }

    Orientation orientation = Orientation::Any;
    Resolution resolution = Resolution::Any;
    Duration duration = Duration::Any;
    QString format = allFormats();
    int days = 0;
    Size size = Size::Any;
    Sort sort = Sort::Newest;

    // Orientation, resolution and duration can only be judged from media properties.
    bool needsMetadata() const
    {
        return orientation != Orientation::Any || resolution != Resolution::Any ||
               duration != Duration::Any;
    }

    // The files that pass every active narrowing, sorted by `sort`. `now` is the
    // reference time for `days`; files without properties in `metadata` are
    // dropped while a metadata narrowing is active.
    QList<FileEntry> apply(const QList<FileEntry>& files, const QDateTime& now,
                           const MediaMetadataMap& metadata) const;

    // Lower-cased, then upper-cased extension: the form `format` holds.
    static QString formatOf(const FileEntry& entry);

    friend bool operator==(const MediaFilter&, const MediaFilter&) = default;
};

// Each choice's text is its stored value; views translate it when they show it.
template <> struct RawValues<MediaFilter::Sort> {
    static constexpr std::array<std::pair<MediaFilter::Sort, const char*>, 5> cases{{
        {MediaFilter::Sort::Newest, QT_TRANSLATE_NOOP("MediaFilter", "Newest first")},
        {MediaFilter::Sort::Oldest, QT_TRANSLATE_NOOP("MediaFilter", "Oldest first")},
        {MediaFilter::Sort::Name, QT_TRANSLATE_NOOP("MediaFilter", "Name")},
        {MediaFilter::Sort::Largest, QT_TRANSLATE_NOOP("MediaFilter", "Largest first")},
        {MediaFilter::Sort::Smallest, QT_TRANSLATE_NOOP("MediaFilter", "Smallest first")},
    }};
};

template <> struct RawValues<MediaFilter::Size> {
    static constexpr std::array<std::pair<MediaFilter::Size, const char*>, 4> cases{{
        {MediaFilter::Size::Any, QT_TRANSLATE_NOOP("MediaFilter", "Any size")},
        {MediaFilter::Size::Small, QT_TRANSLATE_NOOP("MediaFilter", "Under 10 MB")},
        {MediaFilter::Size::Medium, QT_TRANSLATE_NOOP("MediaFilter", "10\u2013100 MB")},
        {MediaFilter::Size::Large, QT_TRANSLATE_NOOP("MediaFilter", "Over 100 MB")},
    }};
};

template <> struct RawValues<MediaFilter::Orientation> {
    static constexpr std::array<std::pair<MediaFilter::Orientation, const char*>, 4> cases{{
        {MediaFilter::Orientation::Any, QT_TRANSLATE_NOOP("MediaFilter", "Any orientation")},
        {MediaFilter::Orientation::Landscape, QT_TRANSLATE_NOOP("MediaFilter", "Landscape")},
        {MediaFilter::Orientation::Portrait, QT_TRANSLATE_NOOP("MediaFilter", "Portrait")},
        {MediaFilter::Orientation::Square, QT_TRANSLATE_NOOP("MediaFilter", "Square")},
    }};
};

template <> struct RawValues<MediaFilter::Resolution> {
    static constexpr std::array<std::pair<MediaFilter::Resolution, const char*>, 3> cases{{
        {MediaFilter::Resolution::Any, QT_TRANSLATE_NOOP("MediaFilter", "Any resolution")},
        {MediaFilter::Resolution::Hd, QT_TRANSLATE_NOOP("MediaFilter", "HD or larger")},
        {MediaFilter::Resolution::Ultra, QT_TRANSLATE_NOOP("MediaFilter", "4K or larger")},
    }};
};

template <> struct RawValues<MediaFilter::Duration> {
    static constexpr std::array<std::pair<MediaFilter::Duration, const char*>, 4> cases{{
        {MediaFilter::Duration::Any, QT_TRANSLATE_NOOP("MediaFilter", "Any duration")},
        {MediaFilter::Duration::Short, QT_TRANSLATE_NOOP("MediaFilter", "Under 1 minute")},
        {MediaFilter::Duration::Medium, QT_TRANSLATE_NOOP("MediaFilter", "1\u201310 minutes")},
        {MediaFilter::Duration::Long, QT_TRANSLATE_NOOP("MediaFilter", "Over 10 minutes")},
    }};
};
