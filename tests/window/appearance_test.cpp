#include "test_support.h"
#include "window/appearance.h"

#include <QApplication>
#include <QPalette>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Appearance, StoredValueRules)
{
    EXPECT_EQ(appearanceFromSetting(std::nullopt), Appearance::Light);
    EXPECT_EQ(appearanceFromSetting(QStringLiteral("Light")), Appearance::Light);
    EXPECT_EQ(appearanceFromSetting(QStringLiteral("Dark")), Appearance::Dark);
    EXPECT_EQ(appearanceFromSetting(QStringLiteral("System")), Appearance::System);
    EXPECT_EQ(appearanceFromSetting(QStringLiteral("dark")), Appearance::Light);
    EXPECT_EQ(appearanceFromSetting(QStringLiteral("Solarized")), Appearance::Light);

    QTemporaryDir config;
    ScopedEnv home("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    EXPECT_EQ(storedAppearance(), Appearance::Light); // key absent
    QSettings().setValue(QStringLiteral("appearance"), QStringLiteral("Dark"));
    QSettings().sync();
    EXPECT_EQ(storedAppearance(), Appearance::Dark);
}

TEST(Appearance, DarkAndLightPalettesDiffer)
{
    auto& app = *qApp;
    applyAppearance(app, Appearance::Dark);
    const QColor darkWindow = app.palette().color(QPalette::Window);
    applyAppearance(app, Appearance::Light);
    const QColor lightWindow = app.palette().color(QPalette::Window);
    EXPECT_LT(darkWindow.lightness(), 100);
    EXPECT_GT(lightWindow.lightness(), 180);
}
