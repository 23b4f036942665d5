#include "sections/feature.h"

#include "sections/named_colors.h"
#include "sections/translated_value.h"

#include <QCoreApplication>

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
        {"photo.stack", purple,
         QT_TRANSLATE_NOOP("Feature", "Every frame, beautifully organized.")},
        {"play.rectangle", pink,
         QT_TRANSLATE_NOOP("Feature", "Find the moment. Press play. Stay here.")},
        {"music.note", orange, QT_TRANSLATE_NOOP("Feature", "Your sound library, in one place.")},
        {"doc.text", cyan, QT_TRANSLATE_NOOP("Feature", "All your reading, within reach.")},
        {"square.grid.2x2", blue,
         QT_TRANSLATE_NOOP("Feature", "A little order. A lot of possibility.")},
        {"clock", orange, QT_TRANSLATE_NOOP("Feature", "Pick up where you left off.")},
        {"photo.on.rectangle.angled", purple,
         QT_TRANSLATE_NOOP("Feature", "Your captured ideas, all in one place.")},
        {"chart.pie", indigo, QT_TRANSLATE_NOOP("Feature", "See what\u2019s taking up space.")},
        {"square.on.square", pink,
         QT_TRANSLATE_NOOP("Feature", "Find the same file in more than one place.")},
        {"externaldrive", teal,
         QT_TRANSLATE_NOOP("Feature", "A closer look at your largest files.")},
        {"calendar", red, QT_TRANSLATE_NOOP("Feature", "Your files, through time.")},
        {"arrow.down.circle", green, QT_TRANSLATE_NOOP("Feature", "Every file, on its way.")},
    };
    return table[static_cast<int>(feature)];
}

} // namespace

QString titleOf(Feature feature)
{
    return translatedValue("Feature", feature);
}

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
    return QCoreApplication::translate("Feature", presentation(feature).subtitle);
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
