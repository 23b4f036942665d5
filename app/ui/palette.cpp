#include "ui/palette.h"

#include <QGuiApplication>
#include <QPalette>

const QColor& Palette::blue()
{
    static const QColor accent = QColor::fromRgbF(0.23f, 0.4f, 0.91f, 1.0f);
    return accent;
}

QColor Palette::muted()
{
    return QGuiApplication::palette().color(QPalette::PlaceholderText);
}

QColor Palette::line()
{
    QColor color = QGuiApplication::palette().color(QPalette::WindowText);
    color.setAlphaF(0.07f);
    return color;
}

QColor Palette::surface()
{
    return QGuiApplication::palette().color(QPalette::AlternateBase);
}
