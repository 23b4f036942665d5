#include "window/appearance.h"

#include "ui/symbols.h"
#include "workspace/settings.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

Appearance appearanceFromSetting(const std::optional<QString>& stored)
{
    if (!stored) return Appearance::Light;
    if (*stored == u"System") return Appearance::System;
    if (*stored == u"Dark") return Appearance::Dark;
    return Appearance::Light;
}

Appearance storedAppearance()
{
    return appearanceFromSetting(Settings::appearance());
}

bool desktopPrefersDark()
{
    return PortalColorScheme().prefersDark();
}

namespace {

QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x24, 0x25, 0x28), base(0x1c, 0x1d, 0x20), text(0xe8, 0xe8, 0xea);
    const QColor accent = QColor::fromRgbF(0.23f, 0.4f, 0.91f);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x2b, 0x2c, 0x30));
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0xa5, 0xa6, 0xab));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(0x2f, 0x30, 0x34));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Light, QColor(0x3a, 0x3b, 0x40));
    p.setColor(QPalette::Midlight, QColor(0x32, 0x33, 0x37));
    p.setColor(QPalette::Mid, QColor(0x2a, 0x2b, 0x2e));
    p.setColor(QPalette::Dark, QColor(0x16, 0x17, 0x19));
    p.setColor(QPalette::Shadow, Qt::black);
    p.setColor(QPalette::Highlight, accent);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, accent.lighter(130));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x6e, 0x6f, 0x74));
    return p;
}

QPalette lightPalette(QStyle* style)
{
    QPalette p = style->standardPalette();
    p.setColor(QPalette::Highlight, QColor::fromRgbF(0.23f, 0.4f, 0.91f));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xf1, 0xf1, 0xf4));
    // Secondary text that stays readable on the sidebar's grey as on white.
    p.setColor(QPalette::PlaceholderText, QColor(0x55, 0x56, 0x5a));
    return p;
}

} // namespace

void applyAppearance(QApplication& app, Appearance appearance)
{
    applyAppearance(app, appearance, appearance == Appearance::System && desktopPrefersDark());
}

void applyAppearance(QApplication& app, Appearance appearance, bool desktopDark)
{
    if (!app.style() || app.style()->name() != u"fusion")
        app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const bool dark =
        appearance == Appearance::Dark || (appearance == Appearance::System && desktopDark);
    // Symbols first: every widget repaints for the new palette and must find them.
    useDarkSymbols(dark);
    app.setPalette(dark ? darkPalette() : lightPalette(app.style()));
}

AppearanceController::AppearanceController(QApplication& app,
                                           std::unique_ptr<DesktopColorScheme> desktop,
                                           QObject* parent)
    : QObject(parent), app_(app), desktop_(std::move(desktop))
{
    connect(desktop_.get(), &DesktopColorScheme::changed, this, [this] {
        if (appearance_ == Appearance::System) set(Appearance::System);
    });
}

void AppearanceController::set(Appearance appearance)
{
    appearance_ = appearance;
    applyAppearance(app_, appearance, desktop_->prefersDark());
}
