#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

class QLabel;
class QPainter;
class QWidget;

// Small drawing helpers so every view rounds, tints and sizes alike.
namespace UiStyle {

QColor withAlpha(QColor color, qreal alpha);
// The application font at `points` and `weight`.
QFont font(qreal points, QFont::Weight weight = QFont::Normal);
// A label with that font; `secondary` uses the muted text colour.
QLabel* label(const QString& text, qreal points, QFont::Weight weight = QFont::Normal,
              bool secondary = false, QWidget* parent = nullptr);
// The application font at `points` in its monospaced family, for byte counts
// that line up from row to row.
QFont digits(qreal points);
// A 1 px line in the hairline colour between parts of a window.
QWidget* hairline(QWidget* parent = nullptr);
// A rounded rectangle filled with `fill` and outlined with `border` (1 px) when valid.
void card(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill,
          const QColor& border = QColor());
// Draws the label's text in the tertiary colour (captions, version, group titles).
QLabel* tertiary(QLabel* label);
// The platform's secondary, tertiary and quaternary label colours.
QColor secondaryText();
QColor tertiaryText();
QColor quaternaryFill();

} // namespace UiStyle
