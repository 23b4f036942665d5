#include "sections/feature.h"

#include "sections/named_colors.h"

namespace {

struct Presentation {
    const char* icon;
    QRgb color;
    const char* subtitle;
};

using namespace NamedColors;

const Presentation& presentation(Feature feature)
{
    static const Presentation table[] = {
        {"photo.stack", purple, "Every frame, beautifully organized."},
        {"play.rectangle", pink, "Find the moment. Press play. Stay here."},
        {"music.note", orange, "Your sound library, in one place."},
        {"doc.text", cyan, "All your reading, within reach."},
        {"square.grid.2x2", blue, "A little order. A lot of possibility."},
        {"clock", orange, "Pick up where you left off."},
        {"photo.on.rectangle.angled", purple, "Your captured ideas, all in one place."},
        {"chart.pie", indigo, "See what\u2019s taking up space."},
        {"square.on.square", pink, "Find the same file in more than one place."},
        {"externaldrive", teal, "A closer look at your largest files."},
        {"calendar", red, "Your files, through time."},
        {"arrow.down.circle", green, "Every file, on its way."},
    };
    return table[static_cast<int>(feature)];
}

} // namespace

QString iconOf(Feature feature)
{
    return QString::fromUtf8(presentation(feature).icon);
}

QColor colorOf(Feature feature)
{
    return inAppearance(QColor::fromRgba(presentation(feature).color));
}

QString subtitleOf(Feature feature)
{
    return QString::fromUtf8(presentation(feature).subtitle);
}

bool isLibrary(Feature feature)
{
    return mediaKindOf(feature).has_value();
}

bool isAnalysis(Feature feature)
{
    return feature == Feature::Storage || feature == Feature::Duplicates ||
           feature == Feature::Large;
}

std::optional<MediaKind> mediaKindOf(Feature feature)
{
    switch (feature) {
    case Feature::Images:
    case Feature::Screenshots:
        return MediaKind::Image;
    case Feature::Videos:
        return MediaKind::Video;
    case Feature::Audio:
        return MediaKind::Audio;
    case Feature::Documents:
        return MediaKind::Document;
    default:
        return std::nullopt;
    }
}
