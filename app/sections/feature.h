#pragma once

#include "media_kind.h"
#include "raw_enum.h"

#include <QColor>
#include <QHashFunctions>
#include <optional>

// The sidebar sections, in sidebar order. The raw value is the section's id
// and, translated, its title.
enum class Feature {
    Images,
    Videos,
    Audio,
    Documents,
    Explorer,
    Recent,
    Screenshots,
    Storage,
    Duplicates,
    Large,
    Timeline,
    Transfers,
};

template <> struct RawValues<Feature> {
    static constexpr std::array<std::pair<Feature, const char*>, 12> cases{{
        {Feature::Images, QT_TRANSLATE_NOOP("Feature", "Images")},
        {Feature::Videos, QT_TRANSLATE_NOOP("Feature", "Videos")},
        {Feature::Audio, QT_TRANSLATE_NOOP("Feature", "Audio")},
        {Feature::Documents, QT_TRANSLATE_NOOP("Feature", "Documents")},
        {Feature::Explorer, QT_TRANSLATE_NOOP("Feature", "Explorer")},
        {Feature::Recent, QT_TRANSLATE_NOOP("Feature", "Recent Files")},
        {Feature::Screenshots, QT_TRANSLATE_NOOP("Feature", "Screenshots")},
        {Feature::Storage, QT_TRANSLATE_NOOP("Feature", "Storage Analyzer")},
        {Feature::Duplicates, QT_TRANSLATE_NOOP("Feature", "Duplicate Finder")},
        {Feature::Large, QT_TRANSLATE_NOOP("Feature", "Large Files")},
        {Feature::Timeline, QT_TRANSLATE_NOOP("Feature", "File Timeline")},
        {Feature::Transfers, QT_TRANSLATE_NOOP("Feature", "Transfer Queue")},
    }};
};

QString titleOf(Feature feature);
// The symbol name; the window maps it to a theme icon.
QString iconOf(Feature feature);
QColor colorOf(Feature feature);
QString subtitleOf(Feature feature);
// The media libraries fed by the file index.
bool isLibrary(Feature feature);
// Storage Analyzer, Duplicate Finder and Large Files.
bool isAnalysis(Feature feature);
// The kind of file the section shows; none for the general sections.
std::optional<MediaKind> mediaKindOf(Feature feature);

inline size_t qHash(Feature feature, size_t seed = 0)
{
    return ::qHash(rawValue(feature), seed);
}
