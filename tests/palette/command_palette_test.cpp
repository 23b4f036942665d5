#include "palette/command_palette.h"
#include "window/window_fixture.h"

#include <QLineEdit>
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
