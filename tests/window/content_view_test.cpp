#include "explorer/detail_drawer.h"
#include "explorer/explorer_browser.h"
#include "explorer/layout_picker.h"
#include "file_size_format.h"
#include "ui/empty_state.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/file_menu.h"
#include "ui/name_sheet.h"
#include "window/content_view.h"
#include "window/sidebar.h"
#include "window/sidebar_row.h"
#include "window/top_bar.h"
#include "window/volume_usage.h"
#include "window/window_fixture.h"
#include "window/window_sheets.h"
#include "window/window_status_bar.h"
#include "workspace/settings.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_wait.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

namespace {

void writeFile(const QString& path, const QByteArray& bytes = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A translation of the given contexts, compiled the way translators compile
// one and installed until it goes out of scope.
class Translation {
public:
    explicit Translation(const char* contexts, const char* language = "en")
    {
        QFile ts(scratch_.filePath(QStringLiteral("quorvane.ts")));
        if (!ts.open(QIODevice::WriteOnly)) return;
        ts.write(QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                   "<!DOCTYPE TS><TS version=\"2.1\" language=\"") +
                 language + "\">\n" + contexts + "</TS>\n");
        ts.close();
        const QString qm = scratch_.filePath(QStringLiteral("quorvane.qm"));
        if (QProcess::execute(
                QStringLiteral("/usr/lib/qt6/bin/lrelease"),
                {QStringLiteral("-silent"), ts.fileName(), QStringLiteral("-qm"), qm}) != 0 ||
            !translator_.load(qm))
            return;
        installed_ = QCoreApplication::installTranslator(&translator_);
    }
    ~Translation() { remove(); }
    bool installed() const { return installed_; }
    void remove() { QCoreApplication::removeTranslator(&translator_); }

private:
    QTemporaryDir scratch_;
    QTranslator translator_;
    bool installed_ = false;
};

} // namespace

TEST_F(WindowTest, SidebarRowsActivateSectionsAndExplorerReturnsToTheComputer)
{
    ContentView view(*router);
    view.sidebar()->row(Feature::Images)->click();
    EXPECT_EQ(router->current().feature(), Feature::Images);
    EXPECT_TRUE(view.sidebar()->row(Feature::Images)->isCurrent());
    EXPECT_FALSE(view.sidebar()->row(Feature::Explorer)->isCurrent());
    EXPECT_EQ(sectionKindOf(router->current()), SectionKind::Library);

    // Explorer in the computer-wide scope: no second discovery.
    view.sidebar()->row(Feature::Explorer)->click();
    ASSERT_TRUE(waitFor([&] { return router->current().feature() == Feature::Explorer; }));
    deliverQueued();
    const qsizetype starts = log->starts.size();
    view.sidebar()->row(Feature::Explorer)->click();
    deliverQueued();
    EXPECT_EQ(log->starts.size(), starts);

    // Explorer showing a folder: back to the computer.
    writeFile(files.filePath("a.txt"));
    openFiles(1);
    EXPECT_FALSE(router->current().isMacScope());
    view.sidebar()->row(Feature::Explorer)->click();
    EXPECT_TRUE(router->current().isMacScope());
    EXPECT_GT(log->starts.size(), starts);
}

TEST_F(WindowTest, SectionViewRulesAndSearchField)
{
    ContentView view(*router);
    WorkspaceModel& model = router->current();
    EXPECT_EQ(sectionKindOf(model), SectionKind::Explorer);
    writeFile(files.filePath("a.txt"));
    model.setPreviewFile(FileEntry::fromPath(files.filePath("a.txt")));
    EXPECT_EQ(sectionKindOf(model), SectionKind::Preview);
    model.setPreviewFile(std::nullopt);
    router->activate(Feature::Storage);
    EXPECT_EQ(sectionKindOf(router->current()), SectionKind::Analysis);
    router->current().setPreviewFile(FileEntry::fromPath(files.filePath("a.txt")));
    EXPECT_EQ(sectionKindOf(router->current()), SectionKind::Preview);
    router->activate(Feature::Transfers);
    EXPECT_EQ(sectionKindOf(router->current()), SectionKind::Transfers);
    router->activate(Feature::Timeline);
    EXPECT_EQ(sectionKindOf(router->current()), SectionKind::Timeline);
    router->activate(Feature::Recent);
    EXPECT_EQ(sectionKindOf(router->current()), SectionKind::Explorer);

    QTest::keyClicks(view.topBar()->searchField(), QStringLiteral("repo"));
    EXPECT_EQ(router->current().query(), QStringLiteral("repo"));
    EXPECT_EQ(view.topBar()->searchField()->placeholderText(),
              QStringLiteral("Search this computer"));
    EXPECT_FALSE(view.topBar()->backButton()->isEnabled());
}

TEST_F(WindowTest, SplitAndDisclosureStatesSurviveARestart)
{
    {
        ContentView view(*router);
        view.resize(1200, 700);
        view.setSizes({300, 900});
        Settings::setContentSplit(view.saveState());
        view.sidebar()->setToolsExpanded(false);
    }
    ContentView again(*router);
    again.resize(1200, 700);
    EXPECT_FALSE(again.sidebar()->toolsExpanded());
    EXPECT_TRUE(again.sidebar()->locationsExpanded());
    EXPECT_EQ(QSettings().value(QStringLiteral("organizeExpanded")).toBool(), false);
    EXPECT_EQ(again.saveState(), Settings::contentSplit());
}

TEST_F(WindowTest, ExplorerCountsFollowAFolderListedInParts)
{
    ContentView view(*router);
    view.resize(1200, 800);
    view.show();
    // Enough for several parts; folders sort first, so the last parts hold none.
    for (int i = 0; i < 40; ++i)
        QDir(files.path()).mkdir(QStringLiteral("folder %1").arg(i));
    for (int i = 0; i < 20000; ++i)
        writeFile(files.filePath(QStringLiteral("file %1.txt").arg(i)));
    auto* browser = qobject_cast<ExplorerBrowser*>(view.currentSectionView());
    ASSERT_NE(browser, nullptr);
    QStringList shownWhileGrowing;
    QObject::connect(browser->listModel(), &QAbstractItemModel::rowsInserted, &view,
                     [&] { shownWhileGrowing << browser->cardValue(1); });
    openFiles(20040);
    ASSERT_TRUE(waitFor([&] { return browser->cardValue(0) == QStringLiteral("20,040"); }));
    ASSERT_GE(shownWhileGrowing.size(), 2);
    EXPECT_EQ(shownWhileGrowing.last(), QStringLiteral("40"));
    EXPECT_EQ(browser->cardValue(1), QStringLiteral("40"));
    EXPECT_EQ(browser->cardValue(2), QStringLiteral("20,000"));

    // A file made into a folder on disk is counted as one after the folder is listed again.
    ASSERT_TRUE(QFile::remove(files.filePath(QStringLiteral("file 7.txt"))));
    ASSERT_TRUE(QDir(files.path()).mkdir(QStringLiteral("file 7.txt")));
    ASSERT_TRUE(waitFor([&] { return browser->cardValue(1) == QStringLiteral("41"); }, 5000));
    EXPECT_EQ(browser->cardValue(2), QStringLiteral("19,999"));
}

TEST_F(WindowTest, ExplorerCountsChipLayoutsAndEmptyState)
{
    ContentView view(*router);
    view.resize(1200, 800);
    view.show();
    QDir(files.path()).mkdir(QStringLiteral("folder"));
    writeFile(files.filePath("alpha.txt"));
    writeFile(files.filePath("beta.txt"));
    WorkspaceModel& model = openFiles(3);
    auto* browser = qobject_cast<ExplorerBrowser*>(view.currentSectionView());
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->cardValue(0), QStringLiteral("3"));
    EXPECT_EQ(browser->cardValue(1), QStringLiteral("1"));
    EXPECT_EQ(browser->cardValue(2), QStringLiteral("2"));
    EXPECT_EQ(browser->listModel()->rowCount(), 3);

    // The search narrows the list, never the counts.
    model.setQuery(QStringLiteral("alp"));
    EXPECT_EQ(browser->listModel()->rowCount(), 1);
    EXPECT_EQ(browser->cardValue(0), QStringLiteral("3"));
    model.setQuery(QStringLiteral("nothing like it"));
    ASSERT_TRUE(waitUntilSettled(model));
    EXPECT_FALSE(browser->emptyState()->isHidden());
    EXPECT_EQ(browser->emptyState()->title(), QStringLiteral("No matching files"));
    EXPECT_EQ(browser->emptyState()->detail(),
              QStringLiteral("Try a different filename or search all of This Computer."));
    model.setQuery({});

    // Each layout shows the same list, and the arrow keys select through it.
    for (BrowserMode mode : allCases<BrowserMode>()) {
        model.setMode(mode);
        FileListView* list = browser->currentView();
        ASSERT_TRUE(list->isVisible()) << rawValue(mode).toStdString();
        EXPECT_EQ(list->model()->rowCount(), 3);
        model.setSelection({});
        list->setFocus();
        list->setCurrentIndex(list->model()->index(0, 0));
        const int forward =
            mode == BrowserMode::List || mode == BrowserMode::Column ? Qt::Key_Down : Qt::Key_Right;
        QTest::keyClick(list, Qt::Key(forward));
        EXPECT_EQ(model.selection(), QSet<QString>{browser->listModel()->entry(1).path})
            << rawValue(mode).toStdString();
    }
}

TEST_F(WindowTest, FileMenuActsOnThatFileAloneAndTheTrashTitleCountsTheSelection)
{
    writeFile(files.filePath("one.txt"));
    writeFile(files.filePath("two.txt"));
    WorkspaceModel& model = openFiles(2);
    model.setSelection({files.filePath("one.txt")});
    QMenu menu;
    fillFileMenu(menu, model, FileEntry::fromPath(files.filePath("two.txt")));
    QStringList titles;
    for (QAction* action : menu.actions())
        titles << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(titles,
              (QStringList{"Open", "Open With", "Preview in Quorvane", "Show in File Manager", "-",
                           "Rename\u2026", "Cut", "Copy", "-", "Move to Trash\u2026"}));
    menu.actions().last()->trigger();
    EXPECT_EQ(model.selection(), QSet<QString>{files.filePath("two.txt")});
    EXPECT_TRUE(model.confirmTrash());
    model.setConfirmTrash(false);
    EXPECT_EQ(WindowSheets::trashTitle(2), QStringLiteral("Move 2 selected items to Trash?"));

    menu.actions().at(5)->trigger();
    ASSERT_TRUE(model.renameTarget());
    EXPECT_EQ(model.renameTarget()->name, QStringLiteral("two.txt"));
}

TEST_F(WindowTest, NamingSheetKeepsTheNameAndCreatesTheFolder)
{
    QString received;
    NameSheet sheet(QStringLiteral("New folder"), QStringLiteral("Untitled folder"),
                    [&](const QString& name) { received = name; });
    EXPECT_EQ(sheet.name(), QStringLiteral("Untitled folder"));
    sheet.setName(QStringLiteral(" \t  "));
    EXPECT_FALSE(sheet.canSave());
    sheet.submit();
    EXPECT_TRUE(received.isEmpty());
    sheet.setName(QStringLiteral("  Plans 2027 "));
    EXPECT_TRUE(sheet.canSave());
    sheet.submit();
    EXPECT_EQ(received, QStringLiteral("  Plans 2027 "));

    // Through the window: the sheet opens from the model's flag and creates the folder.
    ContentView view(*router);
    writeFile(files.filePath("existing.txt"));
    WorkspaceModel& model = openFiles(1);
    model.setNewFolder(true);
    NameSheet* shown = nullptr;
    ASSERT_TRUE(waitFor([&] {
        shown = view.findChild<NameSheet*>();
        return shown && shown->isVisible();
    }));
    shown->setName(QStringLiteral("Made here"));
    shown->submit();
    EXPECT_FALSE(model.newFolder());
    EXPECT_TRUE(waitFor([&] { return QFileInfo(files.filePath("Made here")).isDir(); }));
}

TEST_F(WindowTest, DrawerAndStatusBarFollowTheSelection)
{
    ContentView view(*router);
    view.show();
    writeFile(files.filePath("scan.JPG"));
    writeFile(files.filePath("anim.gif"));
    WorkspaceModel& model = openFiles(2);
    EXPECT_EQ(view.statusBar()->activityText(), QStringLiteral("Ready"));
    EXPECT_EQ(view.statusBar()->countText(), QStringLiteral("2 items"));
    model.setDetails(true);
    EXPECT_FALSE(view.drawer()->isVisible()); // nothing selected
    model.setSelection({files.filePath("scan.JPG")});
    EXPECT_TRUE(view.drawer()->isVisible());
    EXPECT_TRUE(view.drawer()->extractButton()->isEnabled());
    EXPECT_EQ(view.statusBar()->countText(), QStringLiteral("1 selected"));
    model.setSelection({files.filePath("anim.gif")});
    EXPECT_FALSE(view.drawer()->extractButton()->isEnabled());
}

TEST_F(WindowTest, CountsTakeATranslationsPluralForms)
{
    // A translation with English plural forms, made the way translators make one.
    Translation english(R"(<context><name>WindowStatusBar</name>
<message numerus="yes"><source>%n items</source><translation>
<numerusform>%n item</numerusform><numerusform>%n items</numerusform></translation></message>
</context>
<context><name>WindowSheets</name>
<message numerus="yes"><source>Move %n selected items to Trash?</source><translation>
<numerusform>Move this item to Trash?</numerusform>
<numerusform>Move %n selected items to Trash?</numerusform></translation></message>
</context>)");
    ASSERT_TRUE(english.installed());

    ContentView view(*router);
    view.show();
    writeFile(files.filePath("one.txt"));
    openFiles(1);
    EXPECT_EQ(view.statusBar()->countText(), QStringLiteral("1 item"));
    writeFile(files.filePath("two.txt"));
    openFiles(2);
    EXPECT_EQ(view.statusBar()->countText(), QStringLiteral("2 items"));
    EXPECT_EQ(WindowSheets::trashTitle(1), QStringLiteral("Move this item to Trash?"));
    EXPECT_EQ(WindowSheets::trashTitle(3), QStringLiteral("Move 3 selected items to Trash?"));
    english.remove();
    // Without a translation the texts are the program's own.
    EXPECT_EQ(WindowSheets::trashTitle(1), QStringLiteral("Move 1 selected items to Trash?"));
}

TEST_F(WindowTest, ButtonsTooltipsAndEmptyStatesTakeATranslation)
{
    Translation german(R"(<context><name>DetailDrawer</name>
<message><source>Extract text</source><translation>Text erkennen</translation></message>
</context>
<context><name>LayoutPicker</name>
<message><source>Gallery</source><translation>Galerie</translation></message>
</context>
<context><name>ExplorerBrowser</name>
<message><source>This folder is empty</source><translation>Dieser Ordner ist leer</translation></message>
</context>
<context><name>TopBar</name>
<message><source>Search this folder</source><translation>Diesen Ordner durchsuchen</translation></message>
</context>)",
                       "de");
    ASSERT_TRUE(german.installed());

    ContentView view(*router);
    view.show();
    openFiles(0);
    EXPECT_EQ(view.drawer()->extractButton()->text(), QStringLiteral("Text erkennen"));
    auto* browser = qobject_cast<ExplorerBrowser*>(view.currentSectionView());
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->layoutPicker()->button(BrowserMode::Gallery)->toolTip(),
              QStringLiteral("Galerie"));
    EXPECT_EQ(browser->layoutPicker()->button(BrowserMode::Grid)->toolTip(),
              QStringLiteral("Grid"));
    ASSERT_TRUE(browser->emptyState()->isVisible());
    EXPECT_EQ(browser->emptyState()->title(), QStringLiteral("Dieser Ordner ist leer"));
    EXPECT_EQ(view.topBar()->searchField()->placeholderText(),
              QStringLiteral("Diesen Ordner durchsuchen"));
}

TEST(VolumeUsage, MissingOrZeroCapacityShowsNothingUsed)
{
    EXPECT_EQ(volumeUsage({}), 0);
    EXPECT_EQ(volumeUsage({0, 0, std::nullopt}), 0);
    EXPECT_DOUBLE_EQ(volumeUsage({1000, 250, 200}), 0.75);
    EXPECT_EQ(usageText(0.759), QStringLiteral("75% of volume used"));
    EXPECT_EQ(availableSpaceText({}), QStringLiteral("Local filesystem"));
    EXPECT_EQ(availableSpaceText({1000, 250, 2000000}),
              formatFileSize(2000000) + QStringLiteral(" available"));
    const VolumeCapacity here = VolumeCapacity::of(QDir::tempPath());
    ASSERT_TRUE(here.total);
    EXPECT_GT(*here.total, 0);
}
