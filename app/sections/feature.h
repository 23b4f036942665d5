#pragma once

#include "media_kind.h"
#include "raw_enum.h"

#include <QColor>
#include <QHashFunctions>
#include <optional>

// The sidebar sections, in sidebar order. The raw value is the section's id
// and its title.
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
        {Feature::Images, "Images"},
        {Feature::Videos, "Videos"},
        {Feature::Audio, "Audio"},
        {Feature::Documents, "Documents"},
        {Feature::Explorer, "Explorer"},
        {Feature::Recent, "Recent Files"},
        {Feature::Screenshots, "Screenshots"},
        {Feature::Storage, "Storage Analyzer"},
        {Feature::Duplicates, "Duplicate Finder"},
        {Feature::Large, "Large Files"},
        {Feature::Timeline, "File Timeline"},
        {Feature::Transfers, "Transfer Queue"},
    }};
};

inline QString titleOf(Feature feature)
{
    return rawValue(feature);
}
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
    return ::qHash(titleOf(feature), seed);
}
