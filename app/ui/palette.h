#pragma once

#include <QColor>

// The four colours the whole interface shares. They follow the application
// palette, so light and dark appearance both work.
namespace Palette {

// The accent, also the window's tint.
const QColor& blue();
// Secondary text.
QColor muted();
// Hairlines and borders: the text colour at 7 % opacity.
QColor line();
// The background of controls and cards, set off from the text background of the page.
QColor surface();

} // namespace Palette
