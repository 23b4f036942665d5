#include "timeline/timeline_view.h"
#include "timeline/view_fixture.h"
#include "ui/empty_state.h"
#include "ui/file_card_list.h"
#include "ui/file_card_model.h"
#include "ui/tool_scope_bar.h"
#include "window/model_testers.h"

#include <QComboBox>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

class TimelineViewTest : public ViewTest {
protected:
    // The timeline of the test folder once it is listed and grouped.
    WorkspaceModel& timelineOf(qsizetype files)
    {
        WorkspaceModel& timeline = makeModel(Feature::Timeline);
        timeline.navigate(tree.root());
        EXPECT_TRUE(waitFor([&] { return timeline.files().size() == files; }));
        EXPECT_TRUE(waitUntilSettled(timeline));
        return timeline;
    }
};

// The point in the middle of `rect` of `row` of `list`, in its viewport.
QPoint centreOf(FileCardList* list, int row,
                QRect (FileCardDelegate::*rect)(const QAbstractItemView&, const QModelIndex&) const)
{
    return (list->cardDelegate()->*rect)(*list, list->model()->index(row, 0)).center();
}

QStringList headingsOf(const TimelineView& view)
{
    QStringList out;
    for (const TimelineDayView* day : view.days())
        out << day->heading();
    return out;
}

} // namespace

TEST_F(TimelineViewTest, FilesEitherSideOfMidnightGetTheirOwnDay)
{
    const QDate saturday(2026, 3, 14);
    fileModifiedAt("late-a.txt", QDateTime(saturday, QTime(23, 59, 10)));
    fileModifiedAt("late-b.txt", QDateTime(saturday, QTime(23, 59, 50)));
    fileModifiedAt("early.txt", QDateTime(saturday.addDays(1), QTime(0, 0, 20)));
    WorkspaceModel& timeline = timelineOf(3);

    TimelineView view;
    view.setModel(&timeline);
    ModelTesters testers(&view);
    ASSERT_EQ(view.days().size(), 2);
    EXPECT_EQ(headingsOf(view), (QStringList{"Sunday, Mar 15, 2026", "Saturday, Mar 14, 2026"}));
    EXPECT_EQ(view.days()[0]->countText(), "1 files");
    EXPECT_EQ(view.days()[1]->countText(), "2 files");
    EXPECT_EQ(view.days()[0]->files()->entry(0).name, "early.txt");
    // Newest first within the day.
    EXPECT_EQ(view.days()[1]->files()->entry(0).name, "late-b.txt");
    EXPECT_TRUE(view.emptyState()->isHidden());
    EXPECT_FALSE(view.earlierButton()->isVisibleTo(&view));

    // Preview on a row opens that file.
    view.resize(800, 600);
    view.show();
    FileCardList* rows = view.days()[1]->rows();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                      centreOf(rows, 1, &FileCardDelegate::previewRect));
    ASSERT_TRUE(timeline.previewFile().has_value());
    EXPECT_EQ(timeline.previewFile()->name, "late-a.txt");
    // The menu button pops up the file's own menu.
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                      centreOf(rows, 0, &FileCardDelegate::menuRect));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList menuItems;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator()) menuItems << action->text();
    EXPECT_TRUE(menuItems.contains("Show in File Manager")) << menuItems.join(", ").toStdString();
    // A new pass that drops the day while the menu is open takes the menu with it.
    QPointer<QMenu> open(menu);
    timeline.setTimelineDays(7);
    ASSERT_TRUE(waitUntilSettled(timeline));
    EXPECT_TRUE(view.days().isEmpty());
    EXPECT_TRUE(open.isNull());
    timeline.setTimelineDays(0);
    ASSERT_TRUE(waitUntilSettled(timeline));
    testers.watch();
    rows = view.days()[1]->rows();

    // The pointer over a button lights that button up, and only while it is there.
    const auto buttonShot =
        [&](QRect (FileCardDelegate::*rect)(const QAbstractItemView&, const QModelIndex&) const) {
            const QRect area = (rows->cardDelegate()->*rect)(*rows, rows->model()->index(0, 0));
            return rows->viewport()->grab(area).toImage();
        };
    const QPoint aside = rows->cardDelegate()->cardRect(*rows, rows->model()->index(0, 0)).center();
    QTest::mouseMove(rows->viewport(), aside);
    const QImage previewAtRest = buttonShot(&FileCardDelegate::previewRect);
    const QImage menuAtRest = buttonShot(&FileCardDelegate::menuRect);
    QTest::mouseMove(rows->viewport(), centreOf(rows, 0, &FileCardDelegate::previewRect));
    EXPECT_NE(buttonShot(&FileCardDelegate::previewRect), previewAtRest);
    EXPECT_EQ(buttonShot(&FileCardDelegate::menuRect), menuAtRest);
    QTest::mouseMove(rows->viewport(), centreOf(rows, 0, &FileCardDelegate::menuRect));
    EXPECT_EQ(buttonShot(&FileCardDelegate::previewRect), previewAtRest);
    EXPECT_NE(buttonShot(&FileCardDelegate::menuRect), menuAtRest);
    // Held down, "Preview" looks pressed.
    QTest::mousePress(rows->viewport(), Qt::LeftButton, {},
                      centreOf(rows, 0, &FileCardDelegate::previewRect));
    const QImage pressed = buttonShot(&FileCardDelegate::previewRect);
    QTest::mouseRelease(rows->viewport(), Qt::LeftButton, {},
                        centreOf(rows, 0, &FileCardDelegate::previewRect));
    EXPECT_NE(pressed, buttonShot(&FileCardDelegate::previewRect));
    QTest::mouseMove(rows->viewport(), aside);
    EXPECT_EQ(buttonShot(&FileCardDelegate::previewRect), previewAtRest);

    // Outside the buttons nothing opens.
    timeline.setPreviewFile(std::nullopt);
    const QRect card = rows->cardDelegate()->cardRect(*rows, rows->model()->index(0, 0));
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, card.topLeft() + QPoint(60, 10));
    EXPECT_FALSE(timeline.previewFile().has_value());
    // The keyboard walks the rows and opens one; it stops at the last.
    QTest::keyClick(rows, Qt::Key_Down);
    QTest::keyClick(rows, Qt::Key_Down);
    EXPECT_EQ(rows->currentIndex().row(), 1);
    QTest::keyClick(rows, Qt::Key_Return);
    ASSERT_TRUE(timeline.previewFile().has_value());
    EXPECT_EQ(timeline.previewFile()->name, "late-a.txt");
    // Space previews too, and the menu key and Shift+F10 open the current row's menu.
    timeline.setPreviewFile(std::nullopt);
    QTest::keyClick(rows, Qt::Key_Up);
    QTest::keyClick(rows, Qt::Key_Space);
    ASSERT_TRUE(timeline.previewFile().has_value());
    EXPECT_EQ(timeline.previewFile()->name, "late-b.txt");
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(rows, key, modifiers);
        auto* keyMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(keyMenu, nullptr) << key;
        EXPECT_EQ(keyMenu->parent(), rows);
        keyMenu->close();
    }
}

TEST_F(TimelineViewTest, PeriodPickerSetsTheDayLimitAndFollowsTheModel)
{
    const QDateTime now = QDateTime::currentDateTime();
    fileModifiedAt("today.txt", now.addSecs(-60));
    fileModifiedAt("month.txt", now.addDays(-20));
    fileModifiedAt("old.txt", now.addDays(-400));
    WorkspaceModel& timeline = timelineOf(3);

    TimelineView view;
    view.setModel(&timeline);
    QComboBox* period = view.periodPicker();
    EXPECT_EQ(period->currentText(), "All time");
    EXPECT_EQ(view.days().size(), 3);

    // The user steps to the next choice with the keyboard.
    QTest::keyClick(period, Qt::Key_Down);
    EXPECT_EQ(timeline.timelineDays(), 7);
    EXPECT_EQ(period->currentText(), "Last 7 days");
    ASSERT_TRUE(waitUntilSettled(timeline));
    ASSERT_EQ(view.days().size(), 1);
    EXPECT_EQ(view.days()[0]->files()->entry(0).name, "today.txt");

    QTest::keyClick(period, Qt::Key_Down);
    QTest::keyClick(period, Qt::Key_Down);
    EXPECT_EQ(timeline.timelineDays(), 365);
    ASSERT_TRUE(waitUntilSettled(timeline));
    EXPECT_EQ(view.days().size(), 2);

    timeline.setTimelineDays(30);
    EXPECT_EQ(period->currentText(), "Last 30 days");

    // Nothing in the period: the empty state, with the loading title only while grouping.
    QFile::remove(tree.path("today.txt"));
    QFile::remove(tree.path("month.txt"));
    timeline.refresh();
    ASSERT_TRUE(waitFor([&] { return timeline.files().size() == 1; }));
    ASSERT_TRUE(waitUntilSettled(timeline));
    EXPECT_TRUE(view.days().isEmpty());
    EXPECT_FALSE(view.emptyState()->isHidden());
    EXPECT_EQ(view.emptyState()->title(), "No files in this period");
    EXPECT_EQ(view.emptyState()->detail(), "Change the period or search to see more files.");
    timeline.setTimelineDays(0);
    EXPECT_EQ(view.emptyState()->title(), "Building your timeline\u2026");
    ASSERT_TRUE(waitUntilSettled(timeline));
    EXPECT_EQ(view.days().size(), 1);
    EXPECT_TRUE(view.emptyState()->isHidden());
}

TEST_F(TimelineViewTest, DaysAndFilesArePaged)
{
    // 45 days with one file each, and a 46th, latest day with 120 files.
    const QDateTime noon(QDate::currentDate().addDays(-1), QTime(12, 0));
    for (int day = 1; day <= 45; ++day)
        fileModifiedAt(QStringLiteral("day-%1.txt").arg(day), noon.addDays(-day));
    for (int i = 0; i < 120; ++i)
        fileModifiedAt(QStringLiteral("busy-%1.txt").arg(i), noon.addSecs(-i));
    WorkspaceModel& timeline = timelineOf(165);
    ASSERT_EQ(timeline.timelineGroups().size(), 46);

    TimelineView view;
    view.setModel(&timeline);
    EXPECT_EQ(view.days().size(), 20);
    QPushButton* earlier = view.earlierButton();
    EXPECT_FALSE(earlier->isHidden());
    earlier->click();
    EXPECT_EQ(view.days().size(), 40);
    earlier->click();
    EXPECT_EQ(view.days().size(), 46);
    EXPECT_TRUE(earlier->isHidden());

    ModelTesters testers(&view);
    TimelineDayView* busy = view.days()[0];
    EXPECT_EQ(busy->countText(), "120 files");
    EXPECT_EQ(busy->shownFiles(), 50);
    // Shown, the list lays out every row it has; it still takes no page by itself.
    view.resize(800, 600);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QCoreApplication::processEvents();
    EXPECT_EQ(busy->shownFiles(), 50);
    EXPECT_EQ(busy->rows()->height(), 50 * 52 + 49 * 5);
    // Each "Show more" inserts exactly the next page after the rows shown.
    QSignalSpy inserted(busy->files(), &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(busy->files(), &QAbstractItemModel::modelReset);
    EXPECT_TRUE(busy->files()->canFetchMore({}));
    busy->moreButton()->click();
    EXPECT_EQ(busy->shownFiles(), 100);
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 50);
    EXPECT_EQ(inserted[0][2].toInt(), 99);
    EXPECT_EQ(busy->files()->entry(50).name, timeline.timelineGroups()[0].files[50].name);
    EXPECT_FALSE(busy->moreButton()->isHidden());
    busy->moreButton()->click();
    EXPECT_EQ(busy->shownFiles(), 120);
    ASSERT_EQ(inserted.size(), 2);
    EXPECT_EQ(inserted[1][1].toInt(), 100);
    EXPECT_EQ(inserted[1][2].toInt(), 119);
    EXPECT_TRUE(reset.isEmpty());
    EXPECT_FALSE(busy->files()->canFetchMore({}));
    EXPECT_TRUE(busy->moreButton()->isHidden());
    EXPECT_EQ(busy->rows()->height(), 120 * 52 + 119 * 5);
    // The rows of every page sit one under the other and fill the list: it never scrolls.
    for (int row : {49, 50, 100, 119})
        EXPECT_EQ(busy->rows()->visualRect(busy->files()->index(row)).top(), row * (52 + 5));
    EXPECT_EQ(busy->rows()->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(view.days()[1]->moreButton()->isHidden());

    // A new pass over the same days keeps how far each was opened, and the
    // keyboard's row as far as the day still reaches.
    busy->rows()->setCurrentIndex(busy->files()->index(40));
    timeline.setQuery(QStringLiteral("busy-1"));
    ASSERT_TRUE(waitFor([&] { return view.days().size() == 1; }));
    EXPECT_EQ(view.days()[0], busy);
    EXPECT_EQ(busy->shownFiles(), 31); // busy-1, busy-10…19, busy-100…119
    EXPECT_EQ(busy->rows()->currentIndex().row(), 30);

    // Another section's model starts at the first page.
    WorkspaceModel other(std::make_unique<ScriptedDiscovery>(log), Feature::Timeline, &store);
    other.navigate(tree.root());
    ASSERT_TRUE(waitFor([&] { return other.files().size() == 165; }));
    ASSERT_TRUE(waitUntilSettled(other));
    view.setModel(&other);
    testers.watch();
    EXPECT_EQ(view.dayLimit(), 20);
    EXPECT_EQ(view.days().size(), 20);
    EXPECT_EQ(view.days()[0]->shownFiles(), 50);
    view.setModel(nullptr);
    EXPECT_TRUE(view.days().isEmpty());
}

TEST_F(TimelineViewTest, ScopeBarNamesTheFolderAndRunsOrStopsTheScan)
{
    fileModifiedAt("a.txt", QDateTime::currentDateTime());
    WorkspaceModel& timeline = makeModel(Feature::Timeline);
    TimelineView view;
    view.setModel(&timeline);
    ToolScopeBar* bar = view.scopeBar();
    EXPECT_EQ(bar->title(), "This Computer");
    EXPECT_TRUE(bar->computerButton()->isHidden());
    // Discovery of the whole computer is running.
    EXPECT_EQ(bar->subtitle(), timeline.operation());
    EXPECT_FALSE(bar->cancelButton()->isHidden());

    timeline.navigate(tree.root());
    ASSERT_TRUE(waitFor([&] { return timeline.files().size() == 1; }));
    ASSERT_TRUE(waitUntilSettled(timeline));
    EXPECT_EQ(bar->title(), QFileInfo(tree.root()).fileName());
    EXPECT_EQ(bar->subtitle(), tree.root());
    EXPECT_FALSE(bar->computerButton()->isHidden());
    EXPECT_TRUE(bar->cancelButton()->isHidden());
    EXPECT_EQ(bar->runButton()->text(), "Refresh");

    bar->runButton()->click();
    EXPECT_TRUE(timeline.busy());
    bar->cancelButton()->click();
    ASSERT_TRUE(waitFor([&] { return !timeline.busy(); }));
    EXPECT_EQ(bar->showsStopped(), timeline.operation() == QLatin1String("Cancelled"));

    bar->computerButton()->click();
    EXPECT_TRUE(timeline.isMacScope());
    EXPECT_EQ(bar->title(), "This Computer");
}

TEST_F(TimelineViewTest, LooksRightInBothAppearances)
{
    const QDateTime now = QDateTime::currentDateTime();
    tree.file("photo.png");
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(40, 120, 200));
    picture.save(tree.path("photo.png"));
    for (int i = 0; i < 4; ++i)
        fileModifiedAt(QStringLiteral("report-%1.txt").arg(i), now.addDays(-i),
                       QByteArray(i * 3000, 'r'));
    WorkspaceModel& timeline = timelineOf(5);
    TimelineView view;
    view.setModel(&timeline);
    view.resize(900, 700);
    view.show();
    view.grab(); // paints the rows, which ask for their thumbnails
    ASSERT_TRUE(waitFor([&] {
        for (const TimelineDayView* day : view.days())
            if (day->files()->pendingThumbnails() > 0) return false;
        return true;
    }));
    const QList<QImage> shots = grabBoth(view, "timeline");
    ASSERT_EQ(shots.size(), 2);
    EXPECT_FALSE(shots[0].isNull());
    EXPECT_NE(shots[0].pixel(5, 5), shots[1].pixel(5, 5));

    TimelineView empty;
    empty.setModel(nullptr);
    EXPECT_EQ(empty.emptyState()->title(), "No files in this period");
    grabBoth(empty, "timeline-empty");
}
