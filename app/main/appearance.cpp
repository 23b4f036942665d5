#include "appearance.h"

#include <QApplication>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusVariant>
#include <QPalette>
#include <QSettings>
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
    const QVariant value = QSettings().value(QStringLiteral("appearance"));
    return appearanceFromSetting(value.isValid() ? std::optional(value.toString()) : std::nullopt);
}

bool desktopPrefersDark()
{
    QDBusInterface portal(QStringLiteral("org.freedesktop.portal.Desktop"),
                          QStringLiteral("/org/freedesktop/portal/desktop"),
                          QStringLiteral("org.freedesktop.portal.Settings"));
    if (!portal.isValid()) return false;
    portal.setTimeout(500);
    const QDBusReply<QDBusVariant> reply =
        portal.call(QStringLiteral("Read"), QStringLiteral("org.freedesktop.appearance"),
                    QStringLiteral("color-scheme"));
    if (!reply.isValid()) return false;
    // The value arrives wrapped twice; 1 means "prefer dark".
    QVariant value = reply.value().variant();
    if (value.canConvert<QDBusVariant>()) value = value.value<QDBusVariant>().variant();
    return value.toUInt() == 1;
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
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(0x8a, 0x8b, 0x90));
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
    return p;
}

} // namespace

void applyAppearance(QApplication& app, Appearance appearance)
{
    QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"));
    app.setStyle(style);
    const bool dark = appearance == Appearance::Dark ||
                      (appearance == Appearance::System && desktopPrefersDark());
    app.setPalette(dark ? darkPalette() : lightPalette(app.style()));
}
