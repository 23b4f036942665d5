#include "analysis/analysis_view.h"
#include "analysis/duplicate_group_card.h"
#include "analysis/stats_card.h"
#include "analysis/storage_hierarchy_view.h"
#include "duplicate_guard.h"
#include "file_size_format.h"
#include "storage_node.h"
#include "test_support.h"
#include "ui/empty_state.h"
#include "ui/file_card_list.h"
#include "ui/file_card_model.h"
#include "ui/tool_scope_bar.h"
#include "window/content_view.h"
#include "window/model_testers.h"
#include "window/storage_rows.h"
#include "window/window_dialogs.h"
#include "window/window_fixture.h"
#include "window/window_sheets.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QWheelEvent>
#include <unistd.h>

namespace {

// A file of `bytes` logical size that takes no disk space.
void sparse(const QString& path, qint64 bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(bytes));
}

class AnalysisViewTest : public WindowTest {
protected:
    // The Storage Analyzer's model once `root` is scanned and its tree built,
    // shown in the view at a size that fits its rows.
    WorkspaceModel& showStorage(const QString& root)
    {
        WorkspaceModel& model = scanned(Feature::Storage, root);
        EXPECT_TRUE(waitFor([&] { return model.storageTree() != nullptr; }));
        view.setModel(&model);
        view.resize(1000, 800);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        return model;
    }

    AnalysisView view;
    ModelTesters testers{&view};
};

QModelIndex rowOf(FileCardList* list, int row)
{
    return list->model()->index(row, 0);
}

// Clicks the "Preview" button of `row` of `list`.
void clickPreview(FileCardList* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->cardDelegate()->previewRect(*list, rowOf(list, row)).center());
}

} // namespace

TEST_F(AnalysisViewTest, LargeFilesPageByHundredAndStartOverWhenTheSearchChanges)
{
    TempTree tree;
    for (int at = 0; at < 250; ++at)
        sparse(tree.path(QStringLiteral("big-%1.bin").arg(at, 3, 10, QChar(u'0'))), 10000001 + at);
    sparse(tree.path(QStringLiteral("small.bin")), 9000000);
    WorkspaceModel& model = scanned(Feature::Large, tree.root());
    view.setModel(&model);
    // The picker offers the three sizes and binds the model's minimum.
    QComboBox* picker = view.minimumSize();
    ASSERT_EQ(picker->count(), 3);
    EXPECT_EQ(picker->itemText(0), "10 MB");
    EXPECT_EQ(picker->itemText(2), "1 GB");
    EXPECT_EQ(picker->currentText(), "100 MB");
    EXPECT_EQ(view.emptyState()->title(), "No matching files");
    Q_EMIT picker->activated(0);
    EXPECT_EQ(model.minimumFileSize(), 10000000);
    ASSERT_TRUE(waitFor([&] { return model.libraryResult().files.size() == 250; }));
    ASSERT_TRUE(waitUntilSettled(model));

    EXPECT_EQ(view.headerText(), "Large files");
    EXPECT_EQ(view.stats()->value("SCANNED SIZE"), formatFileSize(model.report()->total));
    EXPECT_EQ(view.stats()->value("FILES"), "251");
    EXPECT_TRUE(view.stats()->value("SKIPPED").isNull());
    ASSERT_EQ(view.shownFileRows(), 100);
    FileCardModel* files = view.fileCards();
    // Largest first, in the order the result gives.
    EXPECT_EQ(files->entry(0).name, "big-249.bin");
    EXPECT_FALSE(view.moreButton()->isHidden());
    EXPECT_EQ(view.moreButton()->text(), "Show more · 150 remaining");
    // Each page is inserted after the rows shown, in the result's order.
    QSignalSpy inserted(files, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(files, &QAbstractItemModel::modelReset);
    view.moreButton()->click();
    EXPECT_EQ(view.shownFileRows(), 200);
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 100);
    EXPECT_EQ(inserted[0][2].toInt(), 199);
    EXPECT_EQ(files->entry(100).path, model.libraryResult().files[100].path);
    EXPECT_EQ(view.moreButton()->text(), "Show more · 50 remaining");
    EXPECT_TRUE(files->canFetchMore({}));
    view.moreButton()->click();
    EXPECT_EQ(view.shownFileRows(), 250);
    ASSERT_EQ(inserted.size(), 2);
    EXPECT_EQ(inserted[1][1].toInt(), 200);
    EXPECT_EQ(inserted[1][2].toInt(), 249);
    EXPECT_TRUE(reset.isEmpty());
    EXPECT_FALSE(files->canFetchMore({}));
    EXPECT_TRUE(view.moreButton()->isHidden());
    // The list is as tall as its rows: the page around it scrolls.
    EXPECT_EQ(view.fileList()->height(), view.fileList()->cardDelegate()->listHeight(250));

    model.setQuery(QStringLiteral("big"));
    EXPECT_EQ(view.limit(), AnalysisView::pageStep);
    ASSERT_TRUE(waitUntilSettled(model));
    EXPECT_EQ(view.shownFileRows(), 100);

    // "Preview" opens the row's file in the window.
    view.resize(900, 700);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.shownFileRows(), 100); // showing takes no page by itself
    // The list has nothing to scroll and leaves the wheel to the page around it.
    FileCardList* list = view.fileList();
    EXPECT_EQ(list->verticalScrollBar()->maximum(), 0);
    const QPoint over = list->cardDelegate()->cardRect(*list, rowOf(list, 0)).center();
    QWheelEvent wheel(over, list->viewport()->mapToGlobal(over), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list->viewport(), &wheel);
    EXPECT_FALSE(wheel.isAccepted());
    EXPECT_EQ(list->verticalScrollBar()->value(), 0);
    clickPreview(view.fileList(), 3);
    ASSERT_TRUE(model.previewFile().has_value());
    EXPECT_EQ(model.previewFile()->path, files->entry(3).path);
}

TEST_F(AnalysisViewTest, ScopeBarNamesTheScopeAndRunsOrStops)
{
    TempTree tree;
    tree.file("a.txt", "a");
    WorkspaceModel& model = scanned(Feature::Storage, tree.root());
    view.setModel(&model);
    ToolScopeBar* bar = view.scopeBar();
    EXPECT_EQ(bar->title(), QFileInfo(tree.root()).fileName());
    EXPECT_EQ(bar->subtitle(), tree.root());
    EXPECT_EQ(bar->runButton()->text(), "Rescan folder");
    EXPECT_FALSE(bar->computerButton()->isHidden());
    EXPECT_FALSE(bar->showsStopped());

    bar->runButton()->click();
    EXPECT_TRUE(model.busy());
    EXPECT_TRUE(bar->runButton()->isHidden());
    EXPECT_FALSE(bar->cancelButton()->isHidden());
    EXPECT_EQ(bar->subtitle(), model.operation());
    bar->cancelButton()->click();
    EXPECT_EQ(model.operation(), "Cancelled");
    EXPECT_TRUE(bar->showsStopped());
    // Completed results stay on screen.
    EXPECT_EQ(view.stats()->value("FILES"), "1");

    router->activate(Feature::Duplicates);
    view.setModel(&router->current());
    EXPECT_EQ(bar->subtitle(), router->current().operation()); // discovering
    ASSERT_TRUE(log->send(finalSnapshot({})));
    ASSERT_TRUE(waitUntilSettled(router->current()));
    EXPECT_EQ(bar->title(), "This Computer");
    EXPECT_EQ(bar->subtitle(), "All indexed locations");
    EXPECT_EQ(bar->runButton()->text(), "Find duplicates");
    EXPECT_TRUE(bar->computerButton()->isHidden());
}

TEST_F(AnalysisViewTest, DuplicateGroupsCountExtraCopiesAndFollowTheSearch)
{
    TempTree tree;
    tree.file("notes.txt", "unique");
    router->activate(Feature::Duplicates);
    WorkspaceModel& before = router->current();
    view.setModel(&before);
    ASSERT_TRUE(log->send(finalSnapshot(
        {FileEntry::fromPath(tree.path("notes.txt")), FileEntry::fromPath(tree.root())})));
    ASSERT_TRUE(waitUntilSettled(before));
    tree.folder("sub");
    EXPECT_EQ(view.emptyState()->title(), "Ready to compare");
    EXPECT_TRUE(view.emptyState()->detail().startsWith("1 discovered files. Find duplicates"));
    before.scan();
    EXPECT_EQ(view.emptyState()->title(), before.operation());
    ASSERT_TRUE(waitFor([&] { return before.report().has_value() && !before.busy(); }));
    // A finished comparison without groups never reads "Ready to compare".
    EXPECT_EQ(view.emptyState()->title(), "No matching duplicates");
    EXPECT_EQ(view.stats()->value("GROUPS"), "0");

    for (const char* name : {"alpha-1.txt", "alpha-2.txt"})
        tree.file(name, "alpha contents");
    for (const char* name : {"beta-1.txt", "beta-2.txt"})
        tree.file(name, "beta contents!");
    for (int at = 1; at <= 5; ++at)
        tree.file(QStringLiteral("sub/gamma-%1.txt").arg(at), "gamma contents, longer");
    WorkspaceModel& model = scanned(Feature::Duplicates, tree.root());
    view.setModel(&model);
    EXPECT_EQ(view.stats()->value("GROUPS"), "3");
    EXPECT_EQ(view.stats()->value("EXTRA COPIES"), "6");
    EXPECT_EQ(view.stats()->value("SKIPPED"), "0");
    const QList<DuplicateGroupCard*> cards = view.groupCards();
    ASSERT_EQ(cards.size(), 3);
    testers.watch();
    QStringList titles;
    for (DuplicateGroupCard* card : cards)
        titles << card->title();
    EXPECT_TRUE(titles.contains("5 matching copies"));
    EXPECT_EQ(titles.count("2 matching copies"), 2);
    EXPECT_TRUE(view.moreGroupsButton()->isHidden());

    model.setQuery(QStringLiteral("GAMMA-3"));
    ASSERT_EQ(view.groupCards().size(), 1);
    EXPECT_EQ(view.groupCards().first()->files()->rowCount(), 5);
    model.setQuery(QStringLiteral("nothing like it"));
    EXPECT_TRUE(view.groupCards().isEmpty());
    EXPECT_TRUE(view.showsNoGroupMatch());
}

namespace {

// The texts of the menu that the "More actions" button of `row` of `list` pops up.
QStringList rowMenu(FileCardList* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->cardDelegate()->menuRect(*list, rowOf(list, row)).center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return {};
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) texts << action->text();
    menu->close();
    return texts;
}

} // namespace

TEST_F(AnalysisViewTest, AHardLinkInAGroupNamesItsFileAndOffersNoTrash)
{
    TempTree tree;
    const QString original = tree.file("original.txt", "the same contents");
    const QString link = tree.path("link.txt");
    ASSERT_EQ(::link(QFile::encodeName(original).constData(), QFile::encodeName(link).constData()),
              0);
    const QString copy = tree.file("copy.txt", "the same contents");
    WorkspaceModel& model = scanned(Feature::Duplicates, tree.root());
    view.setModel(&model);
    const QList<DuplicateGroupCard*> cards = view.groupCards();
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards.first()->title(), "3 matching copies");
    // Two names of one file are one copy: only the other file is extra.
    EXPECT_EQ(view.stats()->value("EXTRA COPIES"), "1");
    testers.watch();
    view.resize(900, 700);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    FileCardList* list = cards.first()->rows();
    FileCardModel* files = cards.first()->files();
    QHash<QString, int> rows;
    for (int row = 0; row < files->rowCount(); ++row)
        rows.insert(files->entry(row).path, row);
    ASSERT_EQ(rows.size(), 3);
    const auto detail = [&](const QString& path) {
        return files->index(rows[path]).data(FileCardModel::DetailRole).toString();
    };
    // Whichever of the two names the scan met second is the one marked.
    ASSERT_EQ(model.sameFileAs().size(), 1);
    const QString marked = model.sameFileAs().constBegin().key();
    ASSERT_TRUE(marked == link || marked == original) << marked.toStdString();
    const QString other = marked == link ? original : link;
    EXPECT_EQ(model.sameFileAs().value(marked), other);
    EXPECT_EQ(detail(marked),
              QStringLiteral("Same file as \u201C%1\u201D").arg(QFileInfo(other).fileName()));
    EXPECT_EQ(files->index(rows[marked]).data(FileCardModel::SameFileAsRole).toString(), other);
    EXPECT_EQ(detail(other), QFileInfo(other).path());
    EXPECT_EQ(detail(copy), QFileInfo(copy).path());

    EXPECT_FALSE(rowMenu(list, rows[marked]).contains(QStringLiteral("Move to Trash\u2026")));
    EXPECT_TRUE(rowMenu(list, rows[marked]).contains(QStringLiteral("Copy")));
    EXPECT_TRUE(rowMenu(list, rows[copy]).contains(QStringLiteral("Move to Trash\u2026")));
    EXPECT_TRUE(rowMenu(list, rows[other]).contains(QStringLiteral("Move to Trash\u2026")));

    // Each row's "Preview" opens that row's own file.
    for (const QString& path : {marked, copy}) {
        clickPreview(list, rows[path]);
        ASSERT_TRUE(model.previewFile().has_value());
        EXPECT_EQ(model.previewFile()->path, path);
    }
}

TEST_F(AnalysisViewTest, DuplicateGroupsArePagedByHundred)
{
    QList<QList<FileEntry>> groups;
    for (int at = 0; at < 130; ++at) {
        const QString name = QStringLiteral("copy-%1").arg(at);
        groups << QList<FileEntry>{FileEntry::indexed("/a/" + name, 10, {}, false),
                                   FileEntry::indexed("/b/" + name, 10, {}, false)};
    }
    EXPECT_EQ(AnalysisView::matchingGroups(groups, {}).size(), 130);
    EXPECT_EQ(AnalysisView::matchingGroups(groups, "COPY-12").size(), 11);
    EXPECT_TRUE(AnalysisView::matchingGroups(groups, "other").isEmpty());
}

TEST_F(AnalysisViewTest, StorageHierarchyDrillsDownAndUpAndPagesChildren)
{
    TempTree tree;
    for (int at = 0; at < 150; ++at)
        tree.file(QStringLiteral("many/item-%1.txt").arg(at, 3, 10, QChar(u'0')),
                  QByteArray(at + 1, 'x'));
    tree.file("many/nested/deep.txt", QByteArray(5000, 'y'));
    tree.file("top.txt", QByteArray(10, 'z'));
    WorkspaceModel& model = showStorage(tree.root());
    ASSERT_TRUE(model.storageTree());
    StorageHierarchyView* hierarchy = view.hierarchy();
    EXPECT_FALSE(hierarchy->isHidden());
    EXPECT_EQ(view.headerText(), "Largest files");

    QList<const StorageNode*> rows = storageRows(*hierarchy);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0]->name(), "many");
    EXPECT_TRUE(hierarchy->upButton()->isHidden());
    EXPECT_EQ(hierarchy->pathText(), tree.root());
    EXPECT_EQ(hierarchy->rootButton()->text(), QFileInfo(tree.root()).fileName());

    clickStorageRow(*hierarchy, 0);
    EXPECT_EQ(hierarchy->drilledPath(), tree.path("many"));
    EXPECT_FALSE(hierarchy->upButton()->isHidden());
    ASSERT_EQ(storageRows(*hierarchy).size(), 100);
    EXPECT_EQ(storageRows(*hierarchy).first()->name(), "nested"); // largest first
    EXPECT_FALSE(hierarchy->moreButton()->isHidden());
    hierarchy->moreButton()->click();
    EXPECT_EQ(hierarchy->childLimit(), 200);
    EXPECT_EQ(storageRows(*hierarchy).size(), 151);
    EXPECT_TRUE(hierarchy->moreButton()->isHidden());

    clickStorageRow(*hierarchy, 0);
    EXPECT_EQ(hierarchy->drilledPath(), tree.path("many/nested"));
    EXPECT_EQ(hierarchy->childLimit(), 100);
    hierarchy->upButton()->click();
    EXPECT_EQ(hierarchy->drilledPath(), tree.path("many"));
    EXPECT_EQ(hierarchy->childLimit(), 100);
    EXPECT_EQ(storageRows(*hierarchy).size(), 100);
    // Up from a child of the root is the root: no higher.
    hierarchy->upButton()->click();
    EXPECT_FALSE(hierarchy->drilledPath().has_value());
    EXPECT_TRUE(hierarchy->upButton()->isHidden());
    clickStorageRow(*hierarchy, 0);
    hierarchy->rootButton()->click();
    EXPECT_FALSE(hierarchy->drilledPath().has_value());
    EXPECT_TRUE(hierarchy->upButton()->isHidden());

    // A file row opens the listed file; the tree layout is an outline of the shown node.
    ASSERT_FALSE(storageRows(*hierarchy).at(1)->isDirectory());
    clickStorageRow(*hierarchy, 1);
    ASSERT_TRUE(model.previewFile().has_value());
    EXPECT_EQ(model.previewFile()->path, tree.path("top.txt"));
    model.setPreviewFile(std::nullopt);

    hierarchy->setLayout(StorageHierarchyView::Layout::Tree);
    EXPECT_TRUE(storageRows(*hierarchy).isEmpty());
    QAbstractItemModel* outline = hierarchy->outline()->model();
    ASSERT_EQ(outline->rowCount(), 2);
    const QModelIndex many = outline->index(0, 0);
    EXPECT_EQ(many.data().toString(), "many");
    EXPECT_EQ(outline->rowCount(many), 151);
    const QModelIndex nested = outline->index(0, 0, many);
    EXPECT_EQ(nested.data().toString(), "nested");
    EXPECT_EQ(outline->parent(outline->index(0, 0, nested)), nested);
    EXPECT_EQ(outline->parent(nested), many);

    // Drilling in the root layout and switching back shows the drilled node's outline.
    hierarchy->setLayout(StorageHierarchyView::Layout::Root);
    clickStorageRow(*hierarchy, 0);
    hierarchy->setLayout(StorageHierarchyView::Layout::Tree);
    ASSERT_EQ(outline->rowCount(), 151);
    EXPECT_EQ(outline->index(0, 0).data().toString(), "nested");

    // Another section's model starts over at the root, in the root layout.
    view.setModel(&model);
    EXPECT_EQ(hierarchy->layout(), StorageHierarchyView::Layout::Root);
    EXPECT_EQ(storageRows(*hierarchy).size(), 2);

    // Space on the keyboard's row presses it as a click does.
    StorageChildrenList* list = hierarchy->rows();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(hierarchy->drilledPath(), tree.path("many"));
}

TEST_F(AnalysisViewTest, StorageShowMoreAddsTheNextHundredRowsUntilTheLast)
{
    TempTree tree;
    for (int at = 0; at < 250; ++at)
        tree.file(QStringLiteral("item-%1.txt").arg(at, 3, 10, QChar(u'0')),
                  QByteArray(at + 1, 'x'));
    WorkspaceModel& model = showStorage(tree.root());
    ASSERT_TRUE(model.storageTree());
    StorageHierarchyView* hierarchy = view.hierarchy();
    const auto& children = *model.storageTree()->children();
    ASSERT_EQ(children.size(), 250u);
    StorageChildrenList* list = hierarchy->rows();
    QSignalSpy inserted(hierarchy->rowModel(), &QAbstractItemModel::rowsInserted);
    ASSERT_EQ(storageRows(*hierarchy).size(), 100);
    // The list is as tall as its rows: the page around it scrolls, never the list.
    EXPECT_EQ(list->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(list->visualRect(list->model()->index(99, 0)).bottom() + 1, list->height());
    // The row under the mouse is highlighted.
    const QRect first = list->visualRect(list->model()->index(0, 0));
    const QPoint margin(first.left() + 3, first.center().y()); // left of the symbol
    const auto colourAt = [&](QPoint at) {
        return list->viewport()->grab().toImage().pixelColor(at);
    };
    const QColor plain = colourAt(margin);
    QTest::mouseMove(list->viewport(), first.center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return colourAt(margin) != plain; }));

    QTest::mouseClick(hierarchy->moreButton(), Qt::LeftButton);
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0][1].toInt(), 100);
    EXPECT_EQ(inserted[0][2].toInt(), 199);
    EXPECT_EQ(storageRows(*hierarchy).at(150), children[150].get());
    EXPECT_FALSE(hierarchy->moreButton()->isHidden());
    QTest::mouseClick(hierarchy->moreButton(), Qt::LeftButton);
    ASSERT_EQ(inserted.size(), 2);
    EXPECT_EQ(inserted[1][1].toInt(), 200);
    EXPECT_EQ(inserted[1][2].toInt(), 249);
    EXPECT_EQ(storageRows(*hierarchy).last(), children.back().get());
    EXPECT_TRUE(hierarchy->moreButton()->isHidden());
    EXPECT_EQ(list->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(list->visualRect(list->model()->index(249, 0)).bottom() + 1, list->height());

    // A row of the last page presses like any other: a file opens.
    clickStorageRow(*hierarchy, 249);
    ASSERT_TRUE(model.previewFile().has_value());
    EXPECT_EQ(model.previewFile()->path, children.back()->path());
}

TEST_F(AnalysisViewTest, NoHierarchyUntilOneIsBuilt)
{
    TempTree tree;
    router->activate(Feature::Storage);
    WorkspaceModel& model = router->current();
    view.setModel(&model);
    model.navigate(tree.root()); // drops any tree; the listing is still on its way
    ASSERT_FALSE(model.storageTree());
    ASSERT_FALSE(model.busy());
    EXPECT_EQ(view.hierarchy()->statusText(),
              "No hierarchy yet. Refresh or scan a folder to build one.");
    ASSERT_TRUE(waitUntilSettled(model));
    EXPECT_EQ(view.emptyState()->title(), "No matching files");
}

TEST_F(AnalysisViewTest, TrashingEveryCopyOfAGroupAsksAgainNamingTheLastOne)
{
    TempTree tree;
    ScopedEnv xdg("XDG_DATA_HOME", tree.folder("xdg").toLocal8Bit());
    const QString first = tree.file("dups/first.txt", "same contents");
    const QString second = tree.file("dups/second.txt", "same contents");
    const QString third = tree.file("dups/other-a.txt", "other contents");
    tree.file("dups/other-b.txt", "other contents");
    WorkspaceModel& model = scanned(Feature::Duplicates, tree.path("dups"));
    ASSERT_EQ(model.duplicateGroups().size(), 2);
    ContentView window(*router);
    window.show();

    // One copy of a group goes after the usual question alone.
    model.setSelection({third});
    model.setConfirmTrash(true);
    QMessageBox* question = waitForQuestion(window, WindowSheets::trashTitle(1));
    ASSERT_TRUE(question);
    press(question, QMessageBox::DestructiveRole);
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(third); }));
    // The answer decides on a second question at once, before the trash starts.
    EXPECT_FALSE(waitForQuestion(window, WindowSheets::lastCopyTitle, 0));
    // The groups are found again without the trashed file.
    ASSERT_TRUE(waitFor([&] { return model.duplicateGroups().size() == 1; }));
    ASSERT_TRUE(waitUntilSettled(model));

    // Every copy of a group: a second question names the last one; cancelling keeps both.
    const QList<FileEntry> group = [&] {
        for (const auto& candidate : model.duplicateGroups())
            if (candidate.first().path == first || candidate.first().path == second)
                return candidate;
        return QList<FileEntry>();
    }();
    ASSERT_EQ(group.size(), 2);
    const QSet<QString> both{first, second};
    EXPECT_EQ(DuplicateGuard::lastCopies(both, model.duplicateGroups()), QList{group.last()});
    EXPECT_TRUE(DuplicateGuard::lastCopies({first}, model.duplicateGroups()).isEmpty());
    model.setSelection(both);
    model.setConfirmTrash(true);
    press(waitForQuestion(window, WindowSheets::trashTitle(2)), QMessageBox::DestructiveRole);
    QMessageBox* again = waitForQuestion(window, WindowSheets::lastCopyTitle);
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->informativeText().contains(QStringLiteral("“%1”").arg(group.last().name)));
    press(again, QMessageBox::RejectRole);
    // The file service does one thing at a time: a trash the answer started
    // would have ended before this listing does.
    QFuture<QList<FileEntry>> listed = model.service().contents(tree.path("dups"), false);
    ASSERT_TRUE(waitFor([&] { return listed.isFinished(); }));
    EXPECT_EQ(listed.result().size(), 3);
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));

    model.setConfirmTrash(true);
    press(waitForQuestion(window, WindowSheets::trashTitle(2)), QMessageBox::DestructiveRole);
    press(waitForQuestion(window, WindowSheets::lastCopyTitle), QMessageBox::DestructiveRole);
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(first) && !QFile::exists(second); }));
}
