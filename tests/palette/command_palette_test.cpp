#include "palette/command_match_model.h"
#include "palette/command_palette.h"
#include "window/model_testers.h"
#include "window/window_fixture.h"

#include <QLineEdit>
#include <QListView>
#include <QTest>

TEST(CommandPaletteMatching, CharactersInOrderIgnoringCase)
{
    EXPECT_TRUE(CommandPalette::fuzzy("dup", "Duplicate Finder"));
    EXPECT_TRUE(CommandPalette::fuzzy("tq", "Transfer Queue"));
    EXPECT_TRUE(CommandPalette::fuzzy("fl", "Large Files"));
    EXPECT_TRUE(CommandPalette::fuzzy("fl", "File Timeline"));
    EXPECT_TRUE(CommandPalette::fuzzy("IMG", "Images"));
    EXPECT_TRUE(CommandPalette::fuzzy("large f", "Large Files"));
    EXPECT_TRUE(CommandPalette::fuzzy("largef", "Large Files"));
    EXPECT_TRUE(CommandPalette::fuzzy("", "Anything"));
    for (const char* name : {"Images", "Videos", "Transfer Queue", "Large Files"})
        EXPECT_FALSE(CommandPalette::fuzzy("qt", name)) << name;
    EXPECT_FALSE(CommandPalette::fuzzy("large  f", "Large Files"));
}

TEST_F(WindowTest, PaletteKeyboardFlow)
{
    WorkspaceModel& model = router->current();
    model.setPalette(true);
    {
        CommandPalette palette(model);
        palette.show();
        EXPECT_EQ(palette.results().size(), 12);
        EXPECT_EQ(palette.results().first(), Feature::Images);
        QLineEdit* field = palette.findChild<QLineEdit*>();
        ASSERT_NE(field, nullptr);
        QTest::keyClicks(field, QStringLiteral("zzz"));
        EXPECT_TRUE(palette.results().isEmpty());
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_TRUE(palette.isVisible()); // nothing to jump to
        field->clear();
        QTest::keyClicks(field, QStringLiteral("fl"));
        // "Recent Files" holds f…l too; sidebar order, the highlight moves down one.
        EXPECT_EQ(palette.results(),
                  (QList<Feature>{Feature::Recent, Feature::Large, Feature::Timeline}));
        QTest::keyClick(field, Qt::Key_Down);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_FALSE(palette.isVisible());
    }
    EXPECT_EQ(router->current().feature(), Feature::Large);
    EXPECT_FALSE(model.palette());

    WorkspaceModel& timeline = router->current();
    timeline.setPalette(true);
    CommandPalette again(timeline);
    again.show();
    EXPECT_TRUE(again.search().isEmpty());
    QTest::keyClick(again.findChild<QLineEdit*>(), Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
    EXPECT_FALSE(timeline.palette());
    EXPECT_EQ(router->current().feature(), Feature::Large);
}

TEST_F(WindowTest, PaletteListFiltersAsTypedAndRunsTheTopMatch)
{
    WorkspaceModel& model = router->current();
    model.setPalette(true);
    {
        CommandPalette palette(model);
        ModelTesters testers(&palette);
        EXPECT_EQ(testers.count(), 2); // the commands and their matches
        palette.show();
        auto* list = palette.findChild<QListView*>();
        ASSERT_NE(list, nullptr);
        QAbstractItemModel* matches = list->model();
        EXPECT_EQ(matches->rowCount(), 12);
        QLineEdit* field = palette.findChild<QLineEdit*>();
        QTest::keyClicks(field, QStringLiteral("d"));
        // Videos, Audio, Documents, Duplicate Finder.
        EXPECT_EQ(matches->rowCount(), 4);
        QTest::keyClicks(field, QStringLiteral("up"));
        ASSERT_EQ(matches->rowCount(), 1);
        EXPECT_EQ(matches->index(0, 0).data().toString(), "Duplicate Finder");
        EXPECT_GT(matches->index(0, 0).data(CommandMatchModel::ScoreRole).toInt(), 0);
        EXPECT_TRUE(list->isVisible());
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(matches->rowCount(), 4);
        QTest::keyClicks(field, QStringLiteral("zz"));
        EXPECT_EQ(matches->rowCount(), 0);
        EXPECT_FALSE(list->isVisible()); // no empty space between the dividers
        field->clear();
        QTest::keyClicks(field, QStringLiteral("dup"));
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_FALSE(palette.isVisible());
    }
    EXPECT_EQ(router->current().feature(), Feature::Duplicates);
    EXPECT_FALSE(model.palette());
}

TEST_F(WindowTest, PaletteRowClickedRunsThatSection)
{
    WorkspaceModel& model = router->current();
    model.setPalette(true);
    {
        CommandPalette palette(model);
        ModelTesters testers(&palette);
        palette.show();
        auto* list = palette.findChild<QListView*>();
        ASSERT_NE(list, nullptr);
        QAbstractItemModel* matches = list->model();
        // The list is as tall as its cards and the gaps between them.
        EXPECT_EQ(list->height(), 12 * 45 + 11 * 2);
        EXPECT_EQ(list->visualRect(matches->index(0, 0)).top(), 0);
        EXPECT_EQ(list->visualRect(matches->index(1, 0)).top(), 47);
        EXPECT_EQ(list->visualRect(matches->index(11, 0)).bottom(), list->height() - 1);
        const QRect videos = list->visualRect(matches->index(1, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, videos.center());
        EXPECT_FALSE(palette.isVisible());
    }
    EXPECT_EQ(router->current().feature(), Feature::Videos);
}
