#pragma once

#include <QIcon>
#include <QString>

// The interface names its pictures by symbol ("folder.fill", "gearshape", …);
// this maps each to a freedesktop icon name of the current theme, falling back
// to the bundled fallback theme.
QString themeIconName(const QString& symbol);
QIcon symbolIcon(const QString& symbol);
// Switches the symbols to their variant for a dark or a light background and
// forgets the tinted ones; call before the palette changes, so that views
// repainting for the new palette draw the new symbols.
void useDarkSymbols(bool dark);
// The symbol drawn as a pixmap of `edge` pixels, tinted with `color` when it is
// a monochrome symbol; coloured icons keep their colours.
QPixmap symbolPixmap(const QString& symbol, int edge, const QColor& color);
