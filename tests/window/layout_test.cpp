#include "analysis/analysis_view.h"
#include "analysis/storage_hierarchy_view.h"
#include "explorer/detail_drawer.h"
#include "explorer/explorer_browser.h"
#include "explorer/layout_picker.h"
#include "library/embedded_preview.h"
#include "library/media_library_view.h"
#include "storage_node.h"
#include "transfers/transfer_list_model.h"
#include "transfers/transfer_row_delegate.h"
#include "transfers/transfers_view.h"
#include "ui/elided_label.h"
#include "ui/empty_state.h"
#include "ui/file_card_list.h"
#include "ui/file_delegates.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/media_thumbnail.h"
#include "ui/palette.h"
#include "ui/tool_scope_bar.h"
#include "window/content_view.h"
#include "window/detail_scroll_area.h"
#include "window/home_folder.h"
#include "window/main_window.h"
#include "window/sidebar.h"
#include "window/window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListView>
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
    // Runs the layout passes and fits queued so far; none waits on a timer.
    static void settle() { deliverQueued(); }

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
        wheelDown(grid->viewport());
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
        ASSERT_TRUE(waitFor([&] { return images.visibleCount() > 40; }));
        settle();
        auto* library =
            qobject_cast<MediaLibraryView*>(content().sectionView(SectionKind::Library));
        ASSERT_EQ(content().scrollArea()->body(), library->grid());
        wheelDown(library->grid()->viewport());
        settle();
        EXPECT_GE(wholeTileRows(library->grid(), window.get()), rows) << size.width();
        router->activate(Feature::Explorer);
    }
}

TEST_F(LayoutTest, GalleryDrawsItsPictureAboveTheNameAndWholeTiles)
{
    for (const auto& [size, rows] : windowSizes) {
        window->resize(size);
        WorkspaceModel& model = openFiles(made);
        model.setMode(BrowserMode::Gallery);
        settle();
        auto* picture = browser()->findChild<MediaThumbnail*>(QStringLiteral("featuredThumbnail"));
        auto* name = browser()->findChild<QLabel*>(QStringLiteral("featuredName"));
        auto* preview = browser()->findChild<QPushButton*>(QStringLiteral("featuredPreview"));
        ASSERT_TRUE(picture && name && preview);
        EXPECT_EQ(picture->height(), 230);
        EXPECT_GE(name->y(), picture->geometry().bottom()) << size.width();
        EXPECT_GE(preview->y(), name->geometry().bottom()) << size.width();
        // The page scrolls down to the strip, whose tiles are whole.
        QScrollBar* page = content().scrollArea()->verticalScrollBar();
        page->setValue(page->maximum());
        FileListView* strip = browser()->currentView();
        EXPECT_TRUE(wholeOnScreen(strip, window.get())) << size.width();
        for (int row = 0; row < 3; ++row) {
            const QRect tile = strip->visualRect(strip->model()->index(row, 0));
            EXPECT_EQ(tile.width(), 132);
            EXPECT_TRUE(strip->viewport()->rect().contains(tile)) << size.width() << " " << row;
        }
    }
}

TEST_F(LayoutTest, ColumnLayoutKeepsNamesReadableAndTheDetailsWholeAtTheMinimumWidth)
{
    window->resize(900, 580);
    WorkspaceModel& model = openFiles(made);
    model.setMode(BrowserMode::Column);
    const QString longName =
        QStringLiteral("holiday photos from the summer at the lake with the whole family 0.png");
    model.setSelection({files.filePath(longName)});
    settle();
    FileListView* rows = browser()->currentView();
    for (int row = 0; row < 5; ++row)
        EXPECT_GE(FileRowDelegate::nameRect(rows->visualRect(rows->model()->index(row, 0))).width(),
                  FileRowDelegate::minimumNameWidth);
    auto* panel = browser()->findChild<QWidget*>(QStringLiteral("columnDetails"));
    ASSERT_TRUE(panel);
    wheelDown(rows->viewport());
    settle();
    for (QWidget* part : panel->findChildren<QWidget*>()) {
        if (!part->isVisible()) continue;
        EXPECT_TRUE(wholeOnScreen(part, window.get())) << part->metaObject()->className();
    }
    auto* name = panel->findChild<ElidedLabel*>();
    ASSERT_TRUE(name);
    EXPECT_EQ(name->fullText(), longName);
    EXPECT_TRUE(name->isElided());
}

TEST_F(LayoutTest, LayoutPickerShowsTheCurrentLayout)
{
    WorkspaceModel& model = openFiles(made);
    LayoutPicker* picker = browser()->layoutPicker();
    QTest::mouseClick(picker->button(BrowserMode::List), Qt::LeftButton);
    EXPECT_EQ(model.mode(), BrowserMode::List);
    model.setMode(BrowserMode::Column);
    for (BrowserMode mode : allCases<BrowserMode>())
        EXPECT_EQ(picker->button(mode)->isChecked(), mode == BrowserMode::Column);
    // The current segment sits on the text background inside the capsule; its
    // symbol is blue, the others are not.
    const QImage shot = picker->grab().toImage();
    const auto bluePixels = [&](BrowserMode mode) {
        const QRect area = picker->button(mode)->geometry();
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const QColor pixel = shot.pixelColor(x, y);
                const QColor blue = Palette::blue();
                count += std::abs(pixel.red() - blue.red()) < 40 &&
                         std::abs(pixel.green() - blue.green()) < 40 &&
                         std::abs(pixel.blue() - blue.blue()) < 40;
            }
        return count;
    };
    EXPECT_GT(bluePixels(BrowserMode::Column), 10);
    EXPECT_EQ(bluePixels(BrowserMode::List), 0);
    const QRect current = picker->button(BrowserMode::Column)->geometry();
    EXPECT_EQ(shot.pixelColor(current.center().x(), current.top() + 2),
              picker->palette().color(QPalette::Base));
    // Outlined, so it stands apart even where the capsule has the same colour.
    const QRect other = picker->button(BrowserMode::List)->geometry();
    EXPECT_NE(shot.pixelColor(current.center().x(), current.top()).rgb(),
              shot.pixelColor(other.center().x(), other.top()).rgb());
}

TEST_F(LayoutTest, RowMenusSitAtTheRightEndOfTheirRows)
{
    for (const auto& [size, rows] : windowSizes) {
        window->resize(size);
        scanned(Feature::Storage, files.path());
        settle();
        auto* view = qobject_cast<AnalysisView*>(content().sectionView(SectionKind::Analysis));
        ASSERT_GE(view->shownFileRows(), 5);
        FileCardList* list = view->fileList();
        const FileCardDelegate* delegate = list->cardDelegate();
        for (int row = 0; row < 5; ++row) {
            const QModelIndex index = list->model()->index(row, 0);
            const QRect card = delegate->cardRect(*list, index);
            const QRect menu = delegate->menuRect(*list, index);
            EXPECT_EQ(card.width(), list->viewport()->width()) << size.width();
            EXPECT_EQ(card.right() - menu.right(), 10) << size.width();
            EXPECT_GT(menu.left(), delegate->previewRect(*list, index).right());
            EXPECT_EQ(menu.width(), 22);
        }
        router->activate(Feature::Explorer);
    }
}

TEST_F(LayoutTest, LongNamesElideInTheDrawerAndThePreview)
{
    window->resize(900, 580);
    WorkspaceModel& model = openFiles(made);
    const QString longName =
        QStringLiteral("holiday photos from the summer at the lake with the whole family 7.png");
    model.setSelection({files.filePath(longName)});
    model.setDetails(true);
    settle();
    DetailDrawer* drawer = content().drawer();
    ASSERT_TRUE(drawer->isVisible());
    EXPECT_EQ(drawer->nameLabel()->fullText(), longName);
    EXPECT_TRUE(drawer->nameLabel()->isElided());
    for (QPushButton* button : drawer->findChildren<QPushButton*>())
        EXPECT_TRUE(wholeOnScreen(button, window.get())) << button->text().toStdString();
    EXPECT_EQ(content().sidebar()->width(), Sidebar::idealWidth);

    model.preview();
    settle();
    auto* preview = qobject_cast<EmbeddedPreview*>(content().sectionView(SectionKind::Preview));
    ASSERT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->nameLabel()->isElided());
    // Elided, yet most of the name stays readable beside the buttons.
    EXPECT_GE(preview->nameLabel()->width(), 200);
    for (QPushButton* button : preview->findChildren<QPushButton*>()) {
        if (!button->isVisible()) continue;
        content().scrollArea()->ensureWidgetVisible(button);
        EXPECT_TRUE(wholeOnScreen(button, window.get())) << button->text().toStdString();
    }
    EXPECT_EQ(content().sidebar()->width(), Sidebar::idealWidth);
}

TEST_F(LayoutTest, SidebarKeepsItsWidthAndItsControlsAtItsNarrowest)
{
    window->resize(1280, 800);
    settle();
    Sidebar* sidebar = content().sidebar();
    EXPECT_EQ(sidebar->width(), Sidebar::idealWidth);
    QScrollArea* groups = sidebar->groupsArea();
    // A thin bar over the rows: they keep the column's whole width.
    EXPECT_EQ(groups->viewport()->width(), groups->width());
    EXPECT_LE(groups->verticalScrollBar()->width(), 8);
    content().setSizes({Sidebar::minimumWidth, 1280 - Sidebar::minimumWidth});
    settle();
    EXPECT_EQ(sidebar->width(), Sidebar::minimumWidth);
    for (QToolButton* toggle : {sidebar->toolsToggle(), sidebar->locationsToggle()}) {
        groups->ensureWidgetVisible(toggle);
        EXPECT_TRUE(wholeOnScreen(toggle, window.get())) << toggle->accessibleName().toStdString();
    }
}

TEST_F(LayoutTest, EmptyFolderSaysSoWithTheStateSpacedAtBothSizes)
{
    QTemporaryDir empty;
    for (const auto& [size, rows] : windowSizes) {
        window->resize(size);
        router->openLocation(empty.path());
        WorkspaceModel& model = router->current();
        ASSERT_TRUE(waitUntilSettled(model));
        settle();
        EmptyState* state = browser()->emptyState();
        ASSERT_TRUE(state->isVisible());
        EXPECT_EQ(state->title(), "This folder is empty");
        const QList<QLabel*> parts = state->parts();
        EXPECT_GE(parts[1]->y() - parts[0]->geometry().bottom() - 1, 12) << size.width();
        EXPECT_EQ(parts[2]->y() - parts[1]->geometry().bottom() - 1, 12) << size.width();
        EXPECT_GE(parts[1]->height(), parts[1]->sizeHint().height());
        EXPECT_GE(parts[2]->height(), parts[2]->heightForWidth(parts[2]->width()));
    }
    // A search that hides every entry is not an empty folder.
    WorkspaceModel& model = openFiles(made);
    model.setQuery(QStringLiteral("no such name"));
    ASSERT_TRUE(waitUntilSettled(model));
    settle();
    EXPECT_EQ(browser()->emptyState()->title(), "No matching files");
    EXPECT_EQ(browser()->emptyState()->detail(),
              "Try a different filename or search all of This Computer.");
}

TEST_F(LayoutTest, TransferRowsKeepTheirHeightWhateverTheirStatus)
{
    router->activate(Feature::Transfers);
    auto* view = qobject_cast<TransfersView*>(content().sectionView(SectionKind::Transfers));
    ASSERT_NE(view, nullptr);
    TransferStore& store = router->current().transferStore();
    const QString source = files.filePath(QStringLiteral("file 001.pdf"));
    store.setItems(
        {TransferItem(source, files.path()),
         TransferItem(source, files.path(), TransferStatus::Copying, 400, 1000),
         TransferItem(source, files.path(), TransferStatus::Completed, 1000, 1000),
         TransferItem(source, files.path(), TransferStatus::Failed, 0, 1000,
                      QStringLiteral("Permission denied while writing the copy into a folder "
                                     "whose name goes on for a very long time indeed")),
         TransferItem(source, files.path(), TransferStatus::Cancelled)});
    ASSERT_EQ(view->shownCount(), 5);
    QStyleOptionViewItem option;
    option.initFrom(view->list());
    QList<int> heights;
    for (int row = 0; row < 5; ++row)
        heights << view->rowDelegate()->sizeHint(option, view->transfers()->index(row, 0)).height();
    for (int height : heights)
        EXPECT_EQ(height, heights.first());
    store.setItems({});
}

TEST_F(LayoutTest, UpStopsAtTheScannedRootAndTheStoppedNoteKeepsOneLine)
{
    QDir(files.path()).mkpath(QStringLiteral("Projects/src/deep"));
    QFile deep(files.filePath(QStringLiteral("Projects/src/deep/main.cpp")));
    ASSERT_TRUE(deep.open(QIODevice::WriteOnly));
    deep.write(QByteArray(5000, 'c'));
    deep.close();
    window->resize(900, 580);
    WorkspaceModel& model = scanned(Feature::Storage, files.path());
    settle();
    auto* view = qobject_cast<AnalysisView*>(content().sectionView(SectionKind::Analysis));
    StorageHierarchyView* hierarchy = view->hierarchy();
    hierarchy->setDrilledPath(files.filePath(QStringLiteral("Projects/src")));
    hierarchy->upButton()->click();
    EXPECT_EQ(hierarchy->drilledPath(), files.filePath(QStringLiteral("Projects")));
    hierarchy->upButton()->click();
    EXPECT_FALSE(hierarchy->drilledPath().has_value());
    EXPECT_TRUE(hierarchy->upButton()->isHidden());
    EXPECT_EQ(hierarchy->shownNode(), model.storageTree().get());

    // The file system's root has a name to show.
    const StorageNode root(QStringLiteral("/"), 0, 0, std::nullopt);
    EXPECT_EQ(StorageHierarchyView::rootName(&root, QStringLiteral("/")), "File System");
    EXPECT_EQ(StorageHierarchyView::rootName(model.storageTree().get(), files.path()),
              QDir(files.path()).dirName());

    ToolScopeBar* bar = view->scopeBar();
    bar->runButton()->click();
    bar->cancelButton()->click();
    ASSERT_EQ(model.operation(), "Cancelled");
    settle();
    QWidget* note = bar->stoppedNote();
    ASSERT_TRUE(note->isVisible());
    EXPECT_LE(note->height(), 2 * note->fontMetrics().height());
    EXPECT_GE(note->width(), note->sizeHint().width());
}

// Ten thousand entries: the grid stays one screen tall however long the list,
// and moving through it from the keyboard hides the heading as the wheel does.
TEST_F(LayoutTest, ATenThousandFileFolderStaysOneVirtualGrid)
{
    QTemporaryDir many;
    for (int i = 0; i < 10000; ++i) {
        QFile file(
            QDir(many.path()).filePath(QStringLiteral("note %1.txt").arg(i, 5, 10, QChar(u'0'))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    window->resize(1280, 800);
    router->openLocation(many.path());
    WorkspaceModel& model = router->current();
    ASSERT_TRUE(waitFor([&] { return model.files().size() == 10000; }));
    ASSERT_TRUE(waitUntilSettled(model));
    model.setMode(BrowserMode::Grid);
    settle();
    FileListView* grid = browser()->currentView();
    EXPECT_LE(grid->height(), window->height());
    QScrollBar* page = content().scrollArea()->verticalScrollBar();
    EXPECT_EQ(page->value(), 0);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_End);
    settle();
    EXPECT_EQ(page->value(), content().scrollArea()->collapsibleHeight());
    const QModelIndex last = grid->model()->index(9999, 0);
    EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(last)));
    EXPECT_GE(wholeTileRows(grid, window.get()), 3);
    // Back at the top of the grid, the wheel brings the heading back.
    QTest::keyClick(grid, Qt::Key_Home);
    settle();
    const QPointF at(grid->viewport()->width() / 2.0, grid->viewport()->height() / 2.0);
    QWheelEvent up(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &up);
    EXPECT_EQ(page->value(), 0);
}
