// The window driven as a person drives it: mouse and keys on the real widgets,
// then what the models, the disk and the screen show. Every item model under
// the window runs under a fatal QAbstractItemModelTester meanwhile.
#include "analysis/analysis_view.h"
#include "analysis/storage_hierarchy_view.h"
#include "explorer/explorer_browser.h"
#include "held_copies.h"
#include "library/embedded_preview.h"
#include "library/media_library_view.h"
#include "palette/command_palette.h"
#include "storage_node.h"
#include "test_support.h"
#include "transfer_service.h"
#include "ui/empty_state.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/name_sheet.h"
#include "window/content_view.h"
#include "window/main_window.h"
#include "window/shown_window.h"
#include "window/sidebar.h"
#include "window/sidebar_row.h"
#include "window/storage_rows.h"
#include "window/top_bar.h"
#include "window/window_dialogs.h"
#include "window/window_sheets.h"
#include "window/window_status_bar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace {

const char* layoutName(BrowserMode mode)
{
    switch (mode) {
    case BrowserMode::Grid:
        return "Grid";
    case BrowserMode::List:
        return "List";
    case BrowserMode::Column:
        return "Column";
    case BrowserMode::Gallery:
        return "Gallery";
    }
    return "";
}

// Whether some visible label under `root` reads `text`.
bool showsLabel(const QWidget& root, const QString& text)
{
    for (const QLabel* label : root.findChildren<QLabel*>())
        if (label->isVisible() && label->text() == text) return true;
    return false;
}

class UserGestures : public ShownWindowTest {
protected:
    void SetUp() override
    {
        copyEngine = std::make_shared<HeldCopies>();
        ShownWindowTest::SetUp();
        // At least the Explorer's and the libraries' file lists and the storage outline.
        ASSERT_GE(testers->count(), 3);
    }

    ContentView& content() const { return *window->content(); }

    void clickSidebar(Feature feature)
    {
        QTest::mouseClick(content().sidebar()->row(feature), Qt::LeftButton);
        ASSERT_EQ(router->current().feature(), feature);
        testers->watch();
    }

    void chooseLayout(BrowserMode mode)
    {
        for (QToolButton* button : explorer()->findChildren<QToolButton*>())
            if (button->accessibleName() == QLatin1String(layoutName(mode))) {
                QTest::mouseClick(button, Qt::LeftButton);
                break;
            }
        ASSERT_EQ(router->current().mode(), mode);
        ASSERT_TRUE(explorer()->currentView()->isVisible());
    }

    // Where `path` is drawn in `view`, scrolled into sight.
    static void click(FileListView* view, const QString& path)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, itemAt(view, path));
    }
    static void doubleClick(FileListView* view, const QString& path)
    {
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, itemAt(view, path));
    }

    // The Explorer lists `folder` with exactly `names` and names it on screen.
    void expectShowing(const QString& folder, const QStringList& names)
    {
        ShownWindowTest::expectShowing(folder, names);
        EXPECT_FALSE(router->current().isMacScope());
        EXPECT_TRUE(showsLabel(content(), QFileInfo(folder).fileName()));
    }

    // Backspace: up to the enclosing folder, whatever the history holds.
    void goUp(const QString& folder, const QStringList& names)
    {
        QTest::keyClick(explorer()->currentView(), Qt::Key_Backspace);
        expectShowing(folder, names);
    }

    void goBack(const QString& folder, const QStringList& names)
    {
        QTest::mouseClick(content().topBar()->backButton(), Qt::LeftButton);
        expectShowing(folder, names);
    }

    // Types `name` into the naming sheet that opens, replacing its text, and presses Return.
    void answerNameSheet(const QString& name)
    {
        NameSheet* sheet = waitForShown<NameSheet>(*window);
        ASSERT_TRUE(sheet);
        auto* field = sheet->findChild<QLineEdit*>();
        ASSERT_TRUE(field);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, name);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_TRUE(waitFor([&] { return !sheet || !sheet->isVisible(); }));
        activate();
    }
};

} // namespace

TEST_F(UserGestures, OpensFoldersByDoubleClickAndReturnInEveryLayoutThenGoesBack)
{
    tree.file("home/Beta/inside.txt", "b");
    tree.folder("home/Alpha");
    tree.file("home/notes.txt", "n");
    const QString home = tree.path("home");
    const QStringList homeNames{"Alpha", "Beta", "notes.txt"};
    router->openLocation(home);
    expectShowing(home, homeNames);
    testers->watch();
    for (BrowserMode mode : allCases<BrowserMode>()) {
        SCOPED_TRACE(layoutName(mode));
        chooseLayout(mode);
        doubleClick(explorer()->currentView(), tree.path("home/Beta"));
        expectShowing(tree.path("home/Beta"), {"inside.txt"});
        // The keys still go to the list: the opened folder is no reason for
        // the focus to leave for the sidebar.
        EXPECT_EQ(QApplication::focusWidget(), explorer()->currentView());
        goBack(home, homeNames);

        FileListView* view = explorer()->currentView();
        click(view, tree.path("home/Alpha"));
        EXPECT_EQ(router->current().selection(), QSet<QString>{tree.path("home/Alpha")});
        QTest::keyClick(view, Qt::Key_Return);
        expectShowing(tree.path("home/Alpha"), {});
        EXPECT_FALSE(explorer()->emptyState()->isHidden());
        goBack(home, homeNames);
        // Back from the empty folder's message, the list has the keys again.
        EXPECT_EQ(QApplication::focusWidget(), explorer()->currentView());
    }
}

TEST_F(UserGestures, OpensFoldersListedFromTheWholeComputerInEveryLayout)
{
    tree.file("Beta/inside.txt", "b");
    tree.file("notes.txt", "n");
    const QList<FileEntry> indexed{
        indexedFile(tree.path("Beta"), 0, QDateTime::currentDateTimeUtc(), true),
        indexedFile(tree.path("notes.txt"))};
    WorkspaceModel& model = router->current();
    for (BrowserMode mode : allCases<BrowserMode>())
        for (const bool byReturn : {false, true}) {
            SCOPED_TRACE(std::string(layoutName(mode)) + (byReturn ? " Return" : " double-click"));
            // The sidebar's Explorer row goes back to the whole computer.
            clickSidebar(Feature::Explorer);
            ASSERT_TRUE(model.isMacScope());
            ASSERT_TRUE(log->send(finalSnapshot(indexed)));
            ASSERT_TRUE(waitFor([&] { return shownNames() == QStringList{"Beta", "notes.txt"}; }));
            EXPECT_TRUE(showsLabel(content(), QStringLiteral("This Computer")));
            chooseLayout(mode);
            FileListView* view = explorer()->currentView();
            if (byReturn) {
                click(view, tree.path("Beta"));
                QTest::keyClick(view, Qt::Key_Return);
            } else {
                doubleClick(view, tree.path("Beta"));
            }
            expectShowing(tree.path("Beta"), {"inside.txt"});
            goUp(tree.root(), {"Beta", "notes.txt"});
            goBack(tree.path("Beta"), {"inside.txt"});
        }
}

TEST_F(UserGestures, SelectsWithKeysRenamesThroughTheSheetAndMakesAFolder)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        tree.file(QStringLiteral("work/") + name, name);
    const QString work = tree.path("work");
    router->openLocation(work);
    expectShowing(work, {"a.txt", "b.txt", "c.txt"});
    WorkspaceModel& model = router->current();
    chooseLayout(BrowserMode::List);
    FileListView* view = explorer()->currentView();
    FileListModel* list = explorer()->listModel();

    click(view, tree.path("work/a.txt"));
    EXPECT_EQ(model.selection(), QSet<QString>{tree.path("work/a.txt")});
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(model.selection(), QSet<QString>{tree.path("work/b.txt")});
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(model.selection(), QSet<QString>{tree.path("work/c.txt")});
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_EQ(model.selection(), QSet<QString>{tree.path("work/b.txt")});
    EXPECT_TRUE(list->isSelected(list->rowOf(tree.path("work/b.txt"))));
    EXPECT_FALSE(list->isSelected(list->rowOf(tree.path("work/c.txt"))));
    EXPECT_EQ(content().statusBar()->countText(), QStringLiteral("1 selected"));

    fromFileMenu(view, tree.path("work/b.txt"), QStringLiteral("Rename\u2026"));
    answerNameSheet(QStringLiteral("renamed.txt"));
    EXPECT_TRUE(waitFor([&] { return QFile::exists(tree.path("work/renamed.txt")); }));
    EXPECT_FALSE(QFile::exists(tree.path("work/b.txt")));
    expectShowing(work, {"a.txt", "c.txt", "renamed.txt"});
    EXPECT_FALSE(model.renameTarget());

    QToolButton* newFolder = nullptr;
    for (QToolButton* button : explorer()->findChildren<QToolButton*>())
        if (button->accessibleName() == QLatin1String("New folder")) newFolder = button;
    ASSERT_TRUE(newFolder);
    QTest::mouseClick(newFolder, Qt::LeftButton);
    answerNameSheet(QStringLiteral("Projects"));
    EXPECT_TRUE(waitFor([&] { return QFileInfo(tree.path("work/Projects")).isDir(); }));
    expectShowing(work, {"Projects", "a.txt", "c.txt", "renamed.txt"});
    EXPECT_FALSE(model.newFolder());
}

TEST_F(UserGestures, QuittingWhileOneCopyRunsAndTwoWaitCancelsThemAllAndLeavesNoPartialCopy)
{
    for (const char* name : {"one.bin", "two.bin", "three.bin"})
        tree.file(QStringLiteral("from/") + name, QByteArray(300000, 'q'));
    tree.folder("to");
    router->openLocation(tree.path("from"));
    expectShowing(tree.path("from"), {"one.bin", "three.bin", "two.bin"});
    WorkspaceModel& model = router->current();
    FileListView* view = explorer()->currentView();
    view->setFocus();
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(model.selection().size(), 3);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);

    goUp(tree.root(), {"from", "to"});
    doubleClick(explorer()->currentView(), tree.path("to"));
    expectShowing(tree.path("to"), {});
    QTest::keyClick(window.get(), Qt::Key_V, Qt::ControlModifier);

    const QList<TransferItem>& transfers = router->transferStore().items();
    ASSERT_TRUE(waitFor([&] {
        return transfers.size() == 3 && transfers[0].status == TransferStatus::Copying &&
               !partialCopiesIn(tree.path("to")).isEmpty();
    })) << transfers.size()
        << " jobs, in the folder: "
        << QDir(tree.path("to"))
               .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
               .join(u',')
               .toStdString();
    EXPECT_EQ(transfers[1].status, TransferStatus::Queued);
    EXPECT_EQ(transfers[2].status, TransferStatus::Queued);
    clickSidebar(Feature::Transfers);
    EXPECT_EQ(router->current().transfers().size(), 3);

    // Quitting: the window closes, then the application stops all work.
    window->close();
    router->stopAllWork();
    ASSERT_TRUE(waitFor([&] {
        return std::all_of(transfers.cbegin(), transfers.cend(), [](const TransferItem& item) {
            return item.status == TransferStatus::Cancelled;
        });
    }));
    EXPECT_TRUE(partialCopiesIn(tree.path("to")).isEmpty());
    EXPECT_TRUE(
        QDir(tree.path("to"))
            .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
    EXPECT_EQ(QDir(tree.path("from")).entryList(QDir::Files).size(), 3);
}

TEST_F(UserGestures, TrashAsksFirstAndCancelKeepsTheFile)
{
    ScopedEnv xdg("XDG_DATA_HOME", tree.folder("xdg").toLocal8Bit());
    tree.file("work/keep.txt", "k");
    const QString gone = tree.file("work/gone.txt", "g");
    router->openLocation(tree.path("work"));
    expectShowing(tree.path("work"), {"gone.txt", "keep.txt"});
    FileListView* view = explorer()->currentView();
    click(view, gone);

    QTest::keyClick(view, Qt::Key_Delete, Qt::ControlModifier);
    press(waitForQuestion(*window, WindowSheets::trashTitle(1)), QMessageBox::RejectRole);
    EXPECT_TRUE(waitFor([&] { return !router->current().confirmTrash(); }));
    EXPECT_TRUE(QFile::exists(gone));

    activate();
    QTest::keyClick(view, Qt::Key_Delete, Qt::ControlModifier);
    press(waitForQuestion(*window, WindowSheets::trashTitle(1)), QMessageBox::DestructiveRole);
    EXPECT_TRUE(waitFor([&] { return !QFile::exists(gone); }));
    EXPECT_TRUE(QFile::exists(tree.path("xdg/Trash/files/gone.txt")));
    expectShowing(tree.path("work"), {"keep.txt"});
}

TEST_F(UserGestures, SpacePreviewsArrowsStepAndEscapeReturns)
{
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        tree.file(QStringLiteral("notes/") + name, QByteArray("text of ") + name);
    tree.folder("notes/sub");
    router->openLocation(tree.path("notes"));
    expectShowing(tree.path("notes"), {"sub", "a.txt", "b.txt", "c.txt"});
    WorkspaceModel& model = router->current();
    FileListView* view = explorer()->currentView();
    click(view, tree.path("notes/a.txt"));
    QTest::keyClick(view, Qt::Key_Space);

    auto* preview = qobject_cast<EmbeddedPreview*>(content().currentSectionView());
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->file().path, tree.path("notes/a.txt"));
    EXPECT_EQ(preview->positionText(), QStringLiteral("1 of 3"));
    EXPECT_TRUE(showsLabel(*preview, QStringLiteral("a.txt")));
    QTest::keyClick(preview, Qt::Key_Right);
    QTest::keyClick(preview, Qt::Key_Right);
    EXPECT_EQ(preview->file().path, tree.path("notes/c.txt"));
    EXPECT_EQ(model.selection(), QSet<QString>{tree.path("notes/c.txt")});
    QTest::keyClick(preview, Qt::Key_Right); // the last one stays
    EXPECT_EQ(preview->file().path, tree.path("notes/c.txt"));
    QTest::keyClick(preview, Qt::Key_Left);
    EXPECT_EQ(preview->file().path, tree.path("notes/b.txt"));
    EXPECT_EQ(preview->positionText(), QStringLiteral("2 of 3"));

    QTest::keyClick(preview, Qt::Key_Escape);
    ASSERT_TRUE(waitFor([&] { return !model.previewFile(); }));
    ASSERT_TRUE(explorer());
    EXPECT_TRUE(explorer()->currentView()->isVisible());
    EXPECT_EQ(model.selection(), QSet<QString>{tree.path("notes/b.txt")});
}

TEST_F(UserGestures, PaletteJumpsToTheTypedSection)
{
    QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
    auto* palette = waitForShown<CommandPalette>(*window);
    ASSERT_TRUE(palette);
    auto* field = palette->findChild<QLineEdit*>();
    ASSERT_TRUE(field);
    QTest::keyClicks(field, QStringLiteral("dup"));
    EXPECT_EQ(palette->results(), QList<Feature>{Feature::Duplicates});
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(router->current().feature(), Feature::Duplicates);
    EXPECT_TRUE(waitFor([&] { return !waitForShown<CommandPalette>(*window, 0); }));
    EXPECT_TRUE(qobject_cast<AnalysisView*>(content().currentSectionView()));
    EXPECT_TRUE(content().sidebar()->row(Feature::Duplicates)->isCurrent());
    EXPECT_FALSE(content().sidebar()->row(Feature::Explorer)->isCurrent());
}

TEST_F(UserGestures, SwitchingSectionsWhileAScanAndADiscoveryRunLosesNeither)
{
    for (int folder = 0; folder < 20; ++folder)
        for (int file = 0; file < 60; ++file)
            tree.file(QStringLiteral("big/f%1/file%2.bin").arg(folder).arg(file), "data");
    tree.file("pictures/one.png", "not really");
    tree.file("pictures/two.jpg", "not really");

    clickSidebar(Feature::Storage);
    WorkspaceModel& storage = router->current();
    storage.navigate(tree.path("big")); // as chosen in the folder dialog; the scan follows
    ASSERT_TRUE(waitFor([&] { return storage.busy() || storage.storageTree(); }));
    const bool caughtRunning = !storage.storageTree();

    clickSidebar(Feature::Images);
    WorkspaceModel& images = router->current();
    EXPECT_TRUE(images.busy()); // discovering
    clickSidebar(Feature::Explorer);
    clickSidebar(Feature::Storage);
    clickSidebar(Feature::Images);
    ASSERT_TRUE(log->send(finalSnapshot(
        {indexedFile(tree.path("pictures/one.png")), indexedFile(tree.path("pictures/two.jpg"))})));
    auto* library = qobject_cast<MediaLibraryView*>(content().currentSectionView());
    ASSERT_TRUE(library);
    testers->watch();
    EXPECT_TRUE(waitFor([&] { return library->grid()->model()->rowCount() == 2; }));

    clickSidebar(Feature::Storage);
    EXPECT_TRUE(caughtRunning) << "the scan ended before the switch";
    ASSERT_TRUE(waitFor([&] { return storage.storageTree() && !storage.busy(); }, 30000));
    auto* analysis = qobject_cast<AnalysisView*>(content().currentSectionView());
    ASSERT_TRUE(analysis);
    EXPECT_EQ(storage.report()->files.size(), 20 * 60);
    ASSERT_TRUE(waitFor([&] { return analysis->hierarchy()->rowModel()->rowCount() == 20; }));
}

TEST_F(UserGestures, StorageAnalyzerDrillsDownAndGoesUp)
{
    tree.file("disk/big/a.bin", QByteArray(40000, 'a'));
    tree.file("disk/big/deeper/b.bin", QByteArray(30000, 'b'));
    tree.file("disk/small.txt", "s");
    clickSidebar(Feature::Storage);
    WorkspaceModel& storage = router->current();
    storage.navigate(tree.path("disk"));
    ASSERT_TRUE(waitFor([&] { return storage.storageTree() && !storage.busy(); }));
    auto* analysis = qobject_cast<AnalysisView*>(content().currentSectionView());
    ASSERT_TRUE(analysis);
    StorageHierarchyView* hierarchy = analysis->hierarchy();
    testers->watch();
    const auto rowNames = [&] { return storageRowNames(*hierarchy); };
    ASSERT_TRUE(waitFor([&] {
        return rowNames() == QStringList{"big", "small.txt"};
    })) << rowNames().join(u',').toStdString();

    clickStorageRow(*hierarchy, 0);
    EXPECT_EQ(hierarchy->drilledPath(), tree.path("disk/big"));
    EXPECT_EQ(rowNames(), (QStringList{"a.bin", "deeper"}));
    EXPECT_FALSE(hierarchy->upButton()->isHidden());
    clickStorageRow(*hierarchy, hierarchy->rowModel()->rowCount() - 1);
    EXPECT_EQ(rowNames(), QStringList{"b.bin"});

    QTest::mouseClick(hierarchy->upButton(), Qt::LeftButton);
    EXPECT_EQ(hierarchy->shownNode()->path(), tree.path("disk/big"));
    EXPECT_EQ(rowNames(), (QStringList{"a.bin", "deeper"}));
    QTest::mouseClick(hierarchy->upButton(), Qt::LeftButton);
    EXPECT_EQ(hierarchy->shownNode()->path(), tree.path("disk"));
    EXPECT_EQ(rowNames(), (QStringList{"big", "small.txt"}));

    // Return or Enter presses the keyboard's row as a click does. (Space is the
    // window's Quick Look here, as in every list.)
    StorageChildrenList* list = hierarchy->rows();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(hierarchy->drilledPath(), tree.path("disk/big"));
    list->setCurrentIndex(list->model()->index(1, 0));
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(rowNames(), QStringList{"b.bin"});
    QTest::mouseClick(hierarchy->upButton(), Qt::LeftButton);
    QTest::mouseClick(hierarchy->upButton(), Qt::LeftButton);
    EXPECT_EQ(rowNames(), (QStringList{"big", "small.txt"}));

    // The outline shows the same root; the keyboard opens a folder in place.
    for (QPushButton* segment : hierarchy->findChildren<QPushButton*>())
        if (segment->text() == QStringLiteral("Tree view"))
            QTest::mouseClick(segment, Qt::LeftButton);
    QTreeView* outline = hierarchy->outline();
    ASSERT_TRUE(outline->isVisible());
    QAbstractItemModel* outlineModel = outline->model();
    ASSERT_EQ(outlineModel->rowCount(), 2);
    const QModelIndex big = outlineModel->index(0, 0);
    EXPECT_EQ(big.data().toString(), QStringLiteral("big"));
    outline->setFocus();
    outline->setCurrentIndex(big);
    QTest::keyClick(outline, Qt::Key_Right);
    EXPECT_TRUE(outline->isExpanded(big));
    EXPECT_EQ(outlineModel->rowCount(big), 2);
    QTest::keyClick(outline, Qt::Key_Down);
    QTest::keyClick(outline, Qt::Key_Down);
    EXPECT_EQ(outline->currentIndex().data().toString(), QStringLiteral("deeper"));
    EXPECT_EQ(outline->currentIndex().parent(), big);
}
