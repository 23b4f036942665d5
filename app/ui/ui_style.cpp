#include "ui/ui_style.h"

#include "ui/palette.h"
#include "ui/palette_follower.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

QColor UiStyle::withAlpha(QColor color, qreal alpha)
{
    color.setAlphaF(float(alpha));
    return color;
}

QFont UiStyle::font(qreal points, QFont::Weight weight)
{
    QFont font = QApplication::font();
    font.setPointSizeF(points *
                       0.85); // the sizes are given in design points, a bit larger than ours
    font.setWeight(weight);
    return font;
}

QFont UiStyle::digits(qreal points)
{
    QFont digits = font(points);
    digits.setStyleHint(QFont::Monospace);
    digits.setFamilies({QStringLiteral("monospace")});
    return digits;
}

QWidget* UiStyle::hairline(QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    followPalette(line, [line] {
        QPalette colours;
        colours.setColor(QPalette::Window, Palette::line());
        line->setPalette(colours);
    });
    return line;
}

QLabel* UiStyle::label(const QString& text, qreal points, QFont::Weight weight, bool secondary,
                       QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font(points, weight));
    if (secondary) label->setForegroundRole(QPalette::PlaceholderText);
    return label;
}

void UiStyle::card(QPainter& painter, const QRectF& rect, qreal radius, const QColor& fill,
                   const QColor& border)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = border.isValid() ? rect.adjusted(0.5, 0.5, -0.5, -0.5) : rect;
    painter.setPen(border.isValid() ? QPen(border, 1) : Qt::NoPen);
    painter.setBrush(fill.isValid() ? QBrush(fill) : Qt::NoBrush);
    painter.drawRoundedRect(shape, radius, radius);
    painter.restore();
}

QLabel* UiStyle::tertiary(QLabel* label)
{
    followPalette(label, [label] {
        // Only the text colour, so the rest keeps following the application palette.
        QPalette colours;
        colours.setColor(QPalette::WindowText, tertiaryText());
        label->setPalette(colours);
    });
    return label;
}

QColor UiStyle::secondaryText()
{
    return Palette::muted();
}

QColor UiStyle::tertiaryText()
{
    // Fainter would fall below a readable contrast on the window background.
    return withAlpha(QApplication::palette().color(QPalette::Text), 0.62);
}

QColor UiStyle::quaternaryFill()
{
    return withAlpha(QApplication::palette().color(QPalette::Text), 0.08);
}
