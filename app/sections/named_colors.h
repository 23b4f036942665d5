#pragma once

#include <QColor>

// The desktop's named colours (sections, locations, states). Each has a light
// and a dark variant; views keep the light one and draw `inAppearance(colour)`,
// so a colour chosen once follows the appearance when it changes.
namespace NamedColors {

inline constexpr QRgb purple = 0xffaf52de, pink = 0xffff2d55, orange = 0xffff9500,
                      cyan = 0xff32ade6, blue = 0xff007aff, indigo = 0xff5856d6, teal = 0xff30b0c7,
                      red = 0xffff3b30, green = 0xff34c759;

// Whether the application palette is a dark one.
bool darkAppearance();
// The variant of a named colour (given in either variant) for the current
// appearance; other colours are returned unchanged.
QColor inAppearance(const QColor& named);
// `colour` darkened (on a light background) or lightened (on a dark one) just
// enough to stand out from `background` by `ratio` (WCAG contrast), for small
// symbols and text drawn in a tint.
QColor legibleOn(const QColor& colour, const QColor& background, double ratio);
// Text and symbols that report a failure, readable on the page in either appearance.
QColor error();

} // namespace NamedColors
