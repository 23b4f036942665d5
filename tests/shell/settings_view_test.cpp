#include "event_loop.h"
#include "private_settings.h"
#include "shell/settings_view.h"
#include "window/appearance.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// User defaults in a private folder, and a hook that records what it is asked
// to apply and switches the application's colours for real.
class SettingsViewTest : public ::testing::Test {
protected:
    void TearDown() override { applyAppearance(*qApp, Appearance::Light); }

    SettingsView::ApplyAppearance hook()
    {
        return [this](const QString& value) {
            applied << value;
            applyAppearance(*qApp, appearanceFromSetting(value));
        };
    }

    static bool windowIsDark()
    {
        return qGray(qApp->palette().color(QPalette::Window).rgb()) < 128;
    }

    PrivateSettings settings;
    QStringList applied;
};

} // namespace

TEST_F(SettingsViewTest, DefaultsAreLightAndNoHiddenFilesAppliedWhenFirstShown)
{
    SettingsView view(hook());
    EXPECT_FALSE(view.showHidden());
    EXPECT_EQ(view.appearance(), QStringLiteral("Light"));
    EXPECT_FALSE(view.findChild<QCheckBox*>()->isChecked());
    EXPECT_EQ(view.findChild<QComboBox*>()->currentText(), QStringLiteral("Light"));
    EXPECT_TRUE(applied.isEmpty()); // not before the view appears

    applyAppearance(*qApp, Appearance::Dark);
    view.show();
    EXPECT_EQ(applied, QStringList{QStringLiteral("Light")});
    EXPECT_FALSE(windowIsDark()); // light is forced, whatever was set before
    view.hide();
    view.show();
    EXPECT_EQ(applied.size(), 1);
    // Reading the defaults does not store them.
    EXPECT_FALSE(QSettings().contains(QStringLiteral("appearance")));
    EXPECT_FALSE(QSettings().contains(QStringLiteral("showHidden")));
}

TEST_F(SettingsViewTest, ChangesAreStoredAtOnceAndShownByTheNextView)
{
    {
        SettingsView view(hook());
        view.show();
        applied.clear();
        auto* toggle = view.findChild<QCheckBox*>();
        QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(8, toggle->height() / 2));
        EXPECT_TRUE(view.showHidden());
        EXPECT_TRUE(QSettings().value(QStringLiteral("showHidden")).toBool());

        auto* picker = view.findChild<QComboBox*>();
        view.setCurrentIndex(1);
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_Down); // Light → Dark
        EXPECT_EQ(QSettings().value(QStringLiteral("appearance")).toString(),
                  QStringLiteral("Dark"));
        EXPECT_EQ(applied, QStringList{QStringLiteral("Dark")});
        EXPECT_TRUE(windowIsDark());
        QTest::keyClick(picker, Qt::Key_Home); // System
        EXPECT_EQ(view.appearance(), QStringLiteral("System"));
        QTest::keyClick(picker, Qt::Key_Down);
        QTest::keyClick(picker, Qt::Key_Down);
        EXPECT_EQ(applied, (QStringList{"Dark", "System", "Light", "Dark"}));
        // Choosing what is already chosen writes and applies nothing more.
        view.setAppearance(QStringLiteral("Dark"));
        EXPECT_EQ(applied.size(), 4);
    }
    applyAppearance(*qApp, Appearance::Light);
    applied.clear();

    SettingsView again(hook());
    EXPECT_TRUE(again.findChild<QCheckBox*>()->isChecked());
    EXPECT_EQ(again.findChild<QComboBox*>()->currentText(), QStringLiteral("Dark"));
    again.show();
    EXPECT_EQ(applied, QStringList{QStringLiteral("Dark")});
    EXPECT_TRUE(windowIsDark());

    again.setShowHidden(false);
    EXPECT_FALSE(again.findChild<QCheckBox*>()->isChecked());
    EXPECT_FALSE(SettingsView::storedShowHidden());
}

TEST_F(SettingsViewTest, AnUnknownStoredAppearanceLooksLightAndIsKept)
{
    QSettings().setValue(QStringLiteral("appearance"), QStringLiteral("Sepia"));
    applyAppearance(*qApp, Appearance::Dark);
    SettingsView view(hook());
    EXPECT_EQ(view.findChild<QComboBox*>()->currentText(), QStringLiteral("Light"));
    view.show();
    EXPECT_EQ(applied, QStringList{QStringLiteral("Sepia")});
    EXPECT_FALSE(windowIsDark());
    EXPECT_EQ(SettingsView::storedAppearance(), QStringLiteral("Sepia"));
}

TEST_F(SettingsViewTest, TheWindowIsReusedAndRendersLightAndDark)
{
    // Offscreen there is no platform theme to name the icon folders; the
    // desktop's would list these.
    const QStringList searchPaths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths(searchPaths + QStringList{QStringLiteral("/usr/share/icons")});
    SettingsWindow window(hook());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Settings"));
    window.present();
    window.present();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(applied.size(), 1);

    const QString keep = qEnvironmentVariable("QUORVANE_SCREENSHOTS");
    SettingsView* view = window.view();
    for (const QString& appearance : {QStringLiteral("Light"), QStringLiteral("Dark")}) {
        view->setAppearance(appearance);
        deliverQueued(); // the new palette reaches the widgets through events
        for (int tab = 0; tab < view->count(); ++tab) {
            view->setCurrentIndex(tab);
            const QImage shot = window.grab().toImage();
            ASSERT_FALSE(shot.isNull());
            EXPECT_GE(shot.width(), SettingsView::viewSize.width());
            const QRgb middle = shot.pixel(shot.width() - 10, shot.height() - 10);
            EXPECT_EQ(qGray(middle) < 128, appearance == u"Dark");
            if (!keep.isEmpty())
                shot.save(QDir(keep).filePath(
                    QStringLiteral("settings-%1-%2.png").arg(view->tabText(tab), appearance)));
        }
    }
}
