#pragma once

#include <QIcon>
#include <QString>

// The interface names its pictures by symbol ("folder.fill", "gearshape", …);
// this maps each to a freedesktop icon name of the current theme, falling back
// to the bundled fallback theme.
QString themeIconName(const QString& symbol);
QIcon symbolIcon(const QString& symbol);
// The symbol drawn as a pixmap of `edge` pixels tinted with `color`
// (monochrome symbols; colourful theme icons are tinted as a whole).
QPixmap symbolPixmap(const QString& symbol, int edge, const QColor& color);
