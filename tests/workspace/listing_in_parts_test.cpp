// A big folder opens in parts: the list model shows the start of the order
// first and grows at the end, without a reset, keeping the selection and a
// shown grid's place; a section that sorts by date gets the whole listing at
// once.
#include "file_operations.h"
#include "native_path.h"
#include "test_support.h"
#include "transfer_store.h"
#include "ui/file_delegates.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "workspace/scripted_discovery.h"
#include "workspace/workspace_model.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr int kMany = 20000;

QString manyFiles(const TempTree& tree)
{
    const QString folder = tree.path(QStringLiteral("many"));
    QDir().mkpath(folder);
    const QByteArray root = nativePath(folder);
    for (int i = 0; i < kMany; ++i) {
        const int fd = ::open(root + "/item " + QByteArray::number(i * 7919 % kMany),
                              O_WRONLY | O_CREAT | O_EXCL, 0644);
        EXPECT_GE(fd, 0);
        ::close(fd);
    }
    return folder;
}

QStringList shownNames(const FileListModel& list)
{
    QStringList names;
    for (int row = 0; row < list.rowCount(); ++row)
        names << list.index(row).data().toString();
    return names;
}

struct Workspace {
    TransferStore store;
    WorkspaceModel model{
        std::make_unique<ScriptedDiscovery>(std::make_shared<ScriptedDiscovery::Log>()),
        Feature::Explorer, &store};
    FileListModel list;
    QAbstractItemModelTester tester{&list, QAbstractItemModelTester::FailureReportingMode::Fatal};
    Workspace() { list.setWorkspace(&model); }
};

} // namespace

TEST(ListingInParts, RowsGrowAtTheEndWithoutAResetAndTheSelectionStays)
{
    TempTree tree;
    const QString many = manyFiles(tree);
    const QStringList expected = namesOf(FileOperations::contents(many, false));
    Workspace workspace;
    QSignalSpy resets(&workspace.list, &QAbstractItemModel::modelReset);
    QList<int> countsWhenInserted;
    QString chosen;
    QObject::connect(&workspace.list, &QAbstractItemModel::rowsInserted, [&] {
        countsWhenInserted << workspace.list.rowCount();
        // Chosen while the rest is still coming.
        if (chosen.isEmpty()) {
            chosen = workspace.list.entry(5).path;
            workspace.model.setSelection({chosen});
        }
    });
    QSignalSpy grew(&workspace.model, &WorkspaceModel::filesGrew);

    workspace.model.navigate(many);
    ASSERT_TRUE(QTest::qWaitFor([&] { return workspace.list.rowCount() == kMany; }, 30000));
    ASSERT_GE(countsWhenInserted.size(), 2);
    EXPECT_LT(countsWhenInserted.first(), kMany);
    EXPECT_TRUE(std::is_sorted(countsWhenInserted.begin(), countsWhenInserted.end()));
    EXPECT_EQ(resets.size(), 0);
    EXPECT_EQ(grew.size(), countsWhenInserted.size() - 1);
    EXPECT_EQ(shownNames(workspace.list), expected);
    EXPECT_EQ(namesOf(workspace.model.files()), expected);
    EXPECT_EQ(workspace.model.selection(), QSet<QString>{chosen});
    EXPECT_TRUE(workspace.list.index(5).data(FileListModel::SelectedRole).toBool());
    // Every row shown is a whole entry, found by its path.
    EXPECT_EQ(workspace.list.rowOf(workspace.list.entry(kMany - 1).path), kMany - 1);
    EXPECT_TRUE(workspace.list.entry(kMany - 1).modified.isValid());
}

TEST(ListingInParts, LeavingMidwayDropsTheRestAndADateOrderComesWhole)
{
    TempTree tree;
    const QString many = manyFiles(tree);
    const QString few = tree.folder(QStringLiteral("few"));
    tree.file(QStringLiteral("few/one.txt"), "1");
    Workspace workspace;
    QSignalSpy grew(&workspace.model, &WorkspaceModel::filesGrew);
    bool left = false;
    QObject::connect(&workspace.list, &QAbstractItemModel::rowsInserted, [&] {
        if (!left && workspace.model.folder() == many) {
            left = true;
            workspace.model.navigate(few);
        }
    });
    workspace.model.navigate(many);
    ASSERT_TRUE(QTest::qWaitFor([&] { return left && workspace.list.rowCount() == 1; }, 30000));
    // The service works in order: once this listing is in, the first one is over.
    workspace.model.navigate(few);
    ASSERT_TRUE(QTest::qWaitFor([&] { return workspace.list.rowCount() == 1; }, 30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(shownNames(workspace.list), QStringList{"one.txt"});
    EXPECT_EQ(grew.size(), 0);

    // Newest first needs every date: the list comes in one piece.
    workspace.model.setSortByDate(true);
    QSignalSpy inserted(&workspace.list, &QAbstractItemModel::rowsInserted);
    QSignalSpy resets(&workspace.list, &QAbstractItemModel::modelReset);
    workspace.model.navigate(many);
    ASSERT_TRUE(QTest::qWaitFor([&] { return workspace.list.rowCount() == kMany; }, 30000));
    EXPECT_EQ(grew.size(), 0);
    EXPECT_EQ(inserted.size() + resets.size(), 1);
    EXPECT_EQ(shownNames(workspace.list), namesOf(workspace.model.visible()));
}

TEST(ListingInParts, AShownGridGrowsWithTheRowsAndKeepsItsPlace)
{
    TempTree tree;
    const QString many = manyFiles(tree);
    Workspace workspace;
    FileTileDelegate tiles;
    FileListView grid(&workspace.list, FileListView::Layout::Grid);
    grid.setItemDelegate(&tiles);
    grid.setTileSize(FileTileDelegate::minimumWidth, FileTileDelegate::height,
                     FileTileDelegate::spacing);
    grid.resize(800, 500);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    QScrollBar* bar = grid.verticalScrollBar();
    QList<int> ranges;
    int place = -1;
    QObject::connect(&workspace.list, &QAbstractItemModel::rowsInserted, [&] {
        ranges << bar->maximum();
        // Scrolled down while the rest is still coming.
        if (place < 0 && bar->maximum() > 0) {
            bar->setValue(bar->maximum() / 2);
            place = bar->value();
        }
    });

    workspace.model.navigate(many);
    ASSERT_TRUE(QTest::qWaitFor([&] { return workspace.list.rowCount() == kMany; }, 30000));
    QCoreApplication::processEvents();
    ASSERT_GE(ranges.size(), 2);
    ASSERT_GT(place, 0);
    // The range grew with each part, at once, and the place stayed.
    EXPECT_TRUE(std::is_sorted(ranges.begin(), ranges.end()));
    EXPECT_LT(ranges.first(), ranges.last());
    EXPECT_EQ(bar->value(), place);
    // At the end of the range is the last row, where a click finds it.
    bar->setValue(bar->maximum());
    const QModelIndex last = workspace.list.index(kMany - 1);
    const QRect rect = grid.visualRect(last);
    EXPECT_TRUE(grid.viewport()->rect().contains(rect));
    EXPECT_EQ(grid.indexAt(rect.center()), last);
}
