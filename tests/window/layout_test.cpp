#include "content_view.h"
#include "detail_drawer.h"
#include "detail_scroll_area.h"
#include "elided_label.h"
#include "empty_state.h"
#include "explorer_browser.h"
#include "file_delegates.h"
#include "file_list_model.h"
#include "file_list_view.h"
#include "home_folder.h"
#include "layout_picker.h"
#include "main_window.h"
#include "media_library_view.h"
#include "media_thumbnail.h"
#include "sidebar.h"
#include "window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

namespace {

// The part of `widget` that the window shows: its rectangle in window
// coordinates, cut by every ancestor (scroll areas clip their content).
QRect shownPart(const QWidget* widget, const QWidget* window)
{
    QRect shown(widget->mapTo(window, QPoint(0, 0)), widget->size());
    for (const QWidget* parent = widget->parentWidget(); parent && parent != window;
         parent = parent->parentWidget())
        shown &= QRect(parent->mapTo(window, QPoint(0, 0)), parent->size());
    return shown & window->rect();
}

bool wholeOnScreen(const QWidget* widget, const QWidget* window)
{
    return widget->isVisible() &&
           shownPart(widget, window) == QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// Rows of tiles the window shows whole.
int wholeTileRows(const QListView* view, const QWidget* window)
{
    const QRect shown = shownPart(view->viewport(), window);
    const QPoint origin = view->viewport()->mapTo(window, QPoint(0, 0));
    QSet<int> tops;
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QRect item = view->visualRect(view->model()->index(row, 0)).translated(origin);
        if (item.isValid() && shown.contains(item)) tops.insert(item.top());
    }
    return int(tops.size());
}

// One notch of the mouse wheel over the middle of `target`.
void wheelDown(QWidget* target, int notches = 1)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    for (int i = 0; i < notches; ++i) {
        QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
    }
}

const QList<std::pair<QSize, int>> windowSizes{{QSize(1280, 800), 3}, {QSize(900, 580), 2}};

class LayoutTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        made = makeHomeLikeFolder(files.path());
        window = std::make_unique<MainWindow>(*router);
        window->show();
    }
    void TearDown() override
    {
        window.reset();
        WindowTest::TearDown();
    }
    ContentView& content() const { return *window->content(); }
    ExplorerBrowser* browser() const
    {
        return qobject_cast<ExplorerBrowser*>(content().sectionView(SectionKind::Explorer));
    }
    // Lets queued layout passes run.
    static void settle() { QTest::qWait(50); }

    int made = 0;
    std::unique_ptr<MainWindow> window;
};

} // namespace

// The heading, scope row and cards scroll away with the wheel; the grid, a
// view of its own that never grows with the folder, then fills the area.
TEST_F(LayoutTest, HeadingScrollsAwayLeavingRowsOfTilesAtBothSizes)
{
    for (const auto& [size, rows] : windowSizes) {
        window->resize(size);
        WorkspaceModel& explorer = openFiles(made);
        explorer.setMode(BrowserMode::Grid);
        settle();
        FileListView* grid = browser()->currentView();
        ASSERT_EQ(content().scrollArea()->body(), grid);
        const int before = wholeTileRows(grid, window.get());
        wheelDown(grid->viewport(), 2);
        settle();
        EXPECT_GE(wholeTileRows(grid, window.get()), rows) << size.width();
        EXPECT_GT(wholeTileRows(grid, window.get()), before) << size.width();
        EXPECT_LE(grid->height(), size.height()) << "the grid stays one screen of a virtual list";
        const int firstShown = grid->indexAt(QPoint(20, 20)).row();
        // More wheel scrolls the grid itself.
        wheelDown(grid->viewport(), 2);
        settle();
        EXPECT_GT(grid->indexAt(QPoint(20, 20)).row(), firstShown);

        WorkspaceModel& images = scanned(Feature::Images, files.path());
        ASSERT_GT(images.visibleCount(), 40);
        settle();
        auto* library =
            qobject_cast<MediaLibraryView*>(content().sectionView(SectionKind::Library));
        ASSERT_EQ(content().scrollArea()->body(), library->grid());
        wheelDown(library->grid()->viewport(), 2);
        settle();
        EXPECT_GE(wholeTileRows(library->grid(), window.get()), rows) << size.width();
        router->activate(Feature::Explorer);
    }
}
