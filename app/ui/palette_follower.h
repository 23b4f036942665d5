#pragma once

#include <QColor>
#include <functional>

class QLabel;
class QString;
class QWidget;

// Colours baked into a widget (a style sheet, a tinted symbol) go stale when
// the appearance changes; this runs `restyle` now and again after every change
// of the application palette, for as long as `widget` lives.
void followPalette(QWidget* widget, std::function<void()> restyle);

// A label showing `symbol` at `edge` pixels tinted with `tint()`, redrawn when
// the appearance changes.
QLabel* symbolLabel(const QString& symbol, int edge, std::function<QColor()> tint,
                    QWidget* parent = nullptr);
