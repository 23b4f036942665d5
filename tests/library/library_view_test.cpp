#include "library/library_fixture.h"
#include "library/media_library_view.h"
#include "ui/empty_state.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"

#include <QMenu>
#include <QPushButton>
#include <QTest>

namespace {

QStringList choices(QMenu* menu)
{
    QStringList texts;
    if (!menu) return texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    return texts;
}

QAction* choice(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

} // namespace

TEST(MediaLibraryView, FilterMenusOfferTheirChoicesInOrderAndChangeTheFilter)
{
    LibraryFixture images(Feature::Images);
    images.deliver({images.picture("a.png"), images.picture("b.jpg")});
    MediaLibraryView view;
    view.setModel(images.model.get());

    EXPECT_EQ(view.filterMenuTitles(),
              (QStringList{"Format", "Modified", "Size", "Orientation", "Resolution", "Sort"}));
    EXPECT_EQ(choices(view.filterMenu("Format")), (QStringList{"All formats", "JPG", "PNG"}));
    EXPECT_EQ(
        choices(view.filterMenu("Modified")),
        (QStringList{"Any time", "Last 24 hours", "Last 7 days", "Last 30 days", "Last year"}));
    EXPECT_EQ(choices(view.filterMenu("Size")),
              (QStringList{"Any size", "Under 10 MB", "10\u2013100 MB", "Over 100 MB"}));
    EXPECT_EQ(choices(view.filterMenu("Orientation")),
              (QStringList{"Any orientation", "Landscape", "Portrait", "Square"}));
    EXPECT_EQ(choices(view.filterMenu("Resolution")),
              (QStringList{"Any resolution", "HD or larger", "4K or larger"}));
    EXPECT_EQ(choices(view.filterMenu("Sort")), (QStringList{"Newest first", "Oldest first", "Name",
                                                             "Largest first", "Smallest first"}));
    EXPECT_EQ(view.countText().left(8), QStringLiteral("2 items "));

    choice(view.filterMenu("Format"), "PNG")->trigger();
    EXPECT_EQ(images.model->mediaFilter().format, QStringLiteral("PNG"));
    choice(view.filterMenu("Modified"), "Last 7 days")->trigger();
    EXPECT_EQ(images.model->mediaFilter().days, 7);
    choice(view.filterMenu("Sort"), "Name")->trigger();
    EXPECT_EQ(images.model->mediaFilter().sort, MediaFilter::Sort::Name);
    ASSERT_TRUE(waitUntilSettled(*images.model));
    EXPECT_EQ(view.listModel()->rowCount(), 1);
    EXPECT_EQ(view.listModel()->entry(0).name, QStringLiteral("a.png"));

    // An orientation narrowing needs the pictures' properties, which the view asks for.
    choice(view.filterMenu("Orientation"), "Landscape")->trigger();
    ASSERT_TRUE(waitUntilSettled(*images.model));
    EXPECT_TRUE(images.model->mediaMetadata().contains(images.path("a.png")));
    EXPECT_EQ(view.listModel()->rowCount(), 1);
}

TEST(MediaLibraryView, MediaPropertyMenusFollowTheSection)
{
    LibraryFixture audio(Feature::Audio), documents(Feature::Documents), videos(Feature::Videos);
    MediaLibraryView view;
    view.setModel(audio.model.get());
    EXPECT_EQ(view.filterMenuTitles(),
              (QStringList{"Format", "Modified", "Size", "Duration", "Sort"}));
    EXPECT_EQ(
        choices(view.filterMenu("Duration")),
        (QStringList{"Any duration", "Under 1 minute", "1\u201310 minutes", "Over 10 minutes"}));
    view.setModel(documents.model.get());
    EXPECT_EQ(view.filterMenuTitles(), (QStringList{"Format", "Modified", "Size", "Sort"}));
    view.setModel(videos.model.get());
    EXPECT_EQ(view.filterMenuTitles(), (QStringList{"Format", "Modified", "Size", "Orientation",
                                                    "Resolution", "Duration", "Sort"}));
}

TEST(MediaLibraryView, ResetFiltersIsEnabledOnlyWhenSomethingNarrows)
{
    LibraryFixture images(Feature::Images);
    images.deliver({images.picture("a.png")});
    MediaLibraryView view;
    view.setModel(images.model.get());
    EXPECT_FALSE(view.resetButton()->isEnabled());

    images.model->setQuery("a");
    EXPECT_TRUE(view.resetButton()->isEnabled());
    images.model->setQuery({});
    EXPECT_FALSE(view.resetButton()->isEnabled());

    MediaFilter filter;
    filter.sort = MediaFilter::Sort::Largest;
    images.model->setMediaFilter(filter);
    images.model->setQuery("a");
    EXPECT_TRUE(view.resetButton()->isEnabled());
    view.resetButton()->click();
    EXPECT_EQ(images.model->mediaFilter(), MediaFilter{});
    EXPECT_TRUE(images.model->query().isEmpty());
    EXPECT_FALSE(view.resetButton()->isEnabled());
}

TEST(MediaLibraryView, ContentShowsPlaceholdersEmptyStateOrGrid)
{
    LibraryFixture images(Feature::Images);
    MediaLibraryView view;
    view.setModel(images.model.get());
    // Discovery is running and nothing has arrived yet.
    EXPECT_EQ(view.contentPage(), 1);

    images.deliver({});
    EXPECT_EQ(view.contentPage(), 2);
    EXPECT_EQ(view.emptyState()->title(), QStringLiteral("No matching images"));
    EXPECT_TRUE(view.emptyState()->detail().contains(QStringLiteral("computer’s index")));
    EXPECT_TRUE(view.scopeButton()->isHidden());
    EXPECT_TRUE(view.scopeText().contains(QStringLiteral("system index")));

    LibraryFixture more(Feature::Images);
    more.deliver({more.picture("x.png"), more.picture("y.png")});
    view.setModel(more.model.get());
    EXPECT_EQ(view.contentPage(), 0);
    EXPECT_EQ(view.grid()->model()->rowCount(), 2);
}

TEST(MediaLibraryView, TileSizeStaysInRangeAndResetsWithTheSection)
{
    LibraryFixture images(Feature::Images);
    MediaLibraryView view;
    view.setModel(images.model.get());
    EXPECT_EQ(view.tileSize(), 180);
    view.setTileSize(500);
    EXPECT_EQ(view.tileSize(), 270);
    view.setTileSize(20);
    EXPECT_EQ(view.tileSize(), 130);
    view.setModel(images.model.get());
    EXPECT_EQ(view.tileSize(), 180);
}
