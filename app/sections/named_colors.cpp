#include "sections/named_colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

bool NamedColors::darkAppearance()
{
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

QColor NamedColors::inAppearance(const QColor& named)
{
    struct Variant {
        QRgb light, dark;
    };
    static constexpr Variant variants[] = {
        {purple, 0xffbf5af2}, {pink, 0xffff375f}, {orange, 0xffff9f0a},
        {cyan, 0xff64d2ff},   {blue, 0xff0a84ff}, {indigo, 0xff5e5ce6},
        {teal, 0xff40c8e0},   {red, 0xffff453a},  {green, 0xff30d158},
    };
    // Either variant may have been kept (a view made in the other appearance).
    const QRgb rgb = named.rgba();
    const bool dark = darkAppearance();
    for (const Variant& variant : variants)
        if (variant.light == rgb || variant.dark == rgb)
            return QColor::fromRgba(dark ? variant.dark : variant.light);
    return named;
}

namespace {

double luminance(const QColor& colour)
{
    const auto channel = [](float c) {
        return c <= 0.03928f ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

QColor NamedColors::legibleOn(const QColor& colour, const QColor& background, double ratio)
{
    const bool darken = background.lightness() >= 128;
    QColor result = colour;
    for (int step = 0; step < 40 && contrast(result, background) < ratio; ++step)
        result = darken ? result.darker(106) : result.lighter(106);
    return result;
}

QColor NamedColors::error()
{
    // The named reds are too faint for small text on the window background.
    return darkAppearance() ? QColor::fromRgba(0xffff6961) : QColor::fromRgba(0xffc00010);
}
