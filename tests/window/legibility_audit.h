#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <QStringList>

class QWidget;

// Measures a rendered window the way a reader sees it: every visible symbol
// (the icon of a button, the picture of a label) against the pixels around
// it, every visible text against its background, and visible controls that
// cover each other. Each finding is one line naming the widget and the value.
class LegibilityAudit {
public:
    // Renders `window` (already shown and laid out) once; the checks read that picture.
    explicit LegibilityAudit(QWidget* window);

    // Symbols whose contrast against their background is below `minimum`.
    QStringList faintSymbols(double minimum = 3.0) const;
    // Texts whose contrast against their background is below `minimum`.
    QStringList faintTexts(double minimum = 4.5) const;
    // Pairs of visible sibling controls (widgets without visible children)
    // whose rectangles overlap.
    QStringList overlappingControls() const;

    // The WCAG contrast ratio of two colours (1 to 21).
    static double contrast(QRgb a, QRgb b);
    // Where `symbol` (drawn with transparency) sits inside `area` of `picture`,
    // and the contrast of its opaque pixels there against the most common
    // colour of the rest of `area`. A symbol drawn in the background's colour
    // has contrast 1, one missing from the picture too.
    static double symbolContrast(const QImage& picture, const QRect& area, const QImage& symbol);
    // The contrast of the strongest strokes in `area` (text) against the most
    // common colour there.
    static double textContrast(const QImage& picture, const QRect& area);

    const QImage& picture() const { return picture_; }

private:
    // The part of `widget` that is on screen, in window coordinates (empty when clipped away).
    QRect visibleRect(const QWidget* widget) const;
    QString describe(const QWidget* widget) const;

    QWidget* window_;
    QImage picture_;
    qreal ratio_ = 1.0;
};
