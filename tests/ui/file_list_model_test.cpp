// The list model the file views share: it follows the section's visible list
// without copying the entries, and asks for thumbnails only once scrolling
// settles, a few at a time.
#include "test_support.h"
#include "transfer_store.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/row_diff.h"
#include "ui/thumbnail_requests.h"
#include "workspace/scripted_discovery.h"
#include "workspace/workspace_model.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList shownNames(const FileListModel& list)
{
    QStringList names;
    for (int row = 0; row < list.rowCount(); ++row)
        names << list.index(row).data().toString();
    return names;
}

// Rows named by words; "name:size" gives a row its size.
VisibleEntries rowsOf(const QString& words)
{
    QList<FileEntry> entries;
    for (const QString& word : words.split(u' ', Qt::SkipEmptyParts)) {
        FileEntry entry;
        entry.name = word.section(u':', 0, 0);
        entry.path = QStringLiteral("/shown/") + entry.name;
        entry.size = word.section(u':', 1, 1).toLongLong();
        entries << entry;
    }
    return VisibleEntries{entries, {}, true};
}

using Ranges = QList<RowDiff::Range>;

} // namespace

// What a list model announces when its list changes: the rows that came and
// went in as few spans as there are, or a reset where spans would mislead.
TEST(RowDiff, NamesTheRowsThatCameWentOrChanged)
{
    struct Case {
        const char* before;
        const char* after;
        Ranges removed;
        Ranges inserted;
        QList<int> changed;
        bool reset;
    };
    const Case cases[] = {
        {"a b c", "a b c", {}, {}, {}, false},
        {"a b c", "a x b c", {}, {{1, 1}}, {}, false},
        {"", "a b", {}, {{0, 1}}, {}, false},
        {"a b", "", {{0, 1}}, {}, {}, false},
        {"a b c d e", "a e", {{1, 3}}, {}, {}, false},
        {"a b c d", "b d", {{0, 0}, {2, 2}}, {}, {}, false},
        // A rename: the old name goes, the new one comes where the order puts it.
        {"a b c", "a c d", {{1, 1}}, {{2, 2}}, {}, false},
        {"a b:1 c", "a b:2 c x", {}, {{3, 3}}, {1}, false},
        {"a:1 b c:1", "x a:2 b c:3", {}, {{0, 0}}, {1, 3}, false},
        // A new order, or a path listed twice, cannot be told as spans.
        {"a b c", "c a b", {}, {}, {}, true},
        {"a b c", "a x x c", {}, {}, {}, true},
    };
    for (const Case& test : cases) {
        const RowDiff diff = RowDiff::between(rowsOf(QString::fromLatin1(test.before)),
                                              rowsOf(QString::fromLatin1(test.after)));
        const std::string label = std::string(test.before) + " → " + test.after;
        EXPECT_EQ(diff.reset, test.reset) << label;
        EXPECT_EQ(diff.removed, test.removed) << label;
        EXPECT_EQ(diff.inserted, test.inserted) << label;
        EXPECT_EQ(diff.changed, test.changed) << label;
    }

    // Every other row of two hundred gone: more spans than are worth telling.
    QStringList all, half;
    for (int i = 0; i < 200; ++i) {
        all << QStringLiteral("n%1").arg(i);
        if (i % 2) half << all.last();
    }
    EXPECT_TRUE(RowDiff::between(rowsOf(all.join(u' ')), rowsOf(half.join(u' '))).reset);
    EXPECT_FALSE(RowDiff::between(rowsOf(all.join(u' ')), rowsOf(half.join(u' ')), 200).reset);
}

// A file that appears or goes in the shown folder is announced as a row, not
// a reset: the list keeps its scroll position, and searching stays exact.
TEST(FileListModel, AnnouncesRowsSoTheViewKeepsItsPlace)
{
    TempTree tree;
    for (int i = 0; i < 300; ++i)
        tree.file(QStringLiteral("file_%1.txt").arg(i, 3, 10, QChar(u'0')), "x");
    TransferStore store;
    WorkspaceModel workspace(
        std::make_unique<ScriptedDiscovery>(std::make_shared<ScriptedDiscovery::Log>()),
        Feature::Explorer, &store);
    workspace.navigate(tree.root());
    ASSERT_TRUE(QTest::qWaitFor([&] { return workspace.files().size() == 300; }, 10000));
    FileListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.setWorkspace(&workspace);
    FileListView view(&list, FileListView::Layout::Rows);
    view.setTileSize(200, 24, 0);
    view.resize(400, 300);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    const int scrolled = view.verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    QSignalSpy resets(&list, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    tree.file(QStringLiteral("file_999.txt"), "x");
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.rowCount() == 301; }, 10000));
    ASSERT_TRUE(QFile::remove(tree.path(QStringLiteral("file_998.txt"))) ||
                QFile::remove(tree.path(QStringLiteral("file_299.txt"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.rowCount() == 300; }, 10000));
    EXPECT_EQ(resets.size(), 0);
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 299 + 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(shownNames(list), namesOf(workspace.visible()));

    // Each keystroke of a search shows exactly the visible list, however it is announced.
    for (const char* typed : {"file_1", "file_12", "file_1", "file_", "", "file_29", "9"}) {
        workspace.setQuery(QString::fromLatin1(typed));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !workspace.isFiltering(); }, 10000));
        QCoreApplication::processEvents();
        EXPECT_EQ(shownNames(list), namesOf(workspace.visible())) << typed;
    }
}

TEST(FileListModel, FollowsTheVisibleListWithoutCopyingIt)
{
    TempTree tree;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QList<std::pair<QString, int>> made = {
        {"beta.txt", 300}, {"alpha.png", 100}, {"alphabet.pdf", 200}, {"gamma.txt", 50}};
    for (const auto& [name, age] : made) {
        QFile file(tree.file(name, "x"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(now.addSecs(-age), QFileDevice::FileModificationTime));
    }
    TransferStore store;
    WorkspaceModel workspace(
        std::make_unique<ScriptedDiscovery>(std::make_shared<ScriptedDiscovery::Log>()),
        Feature::Explorer, &store);
    workspace.navigate(tree.root());
    ASSERT_TRUE(QTest::qWaitFor([&] { return workspace.files().size() == 4; }, 10000));
    FileListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.setWorkspace(&workspace);

    // Unfiltered, the rows are the loaded entries themselves.
    ASSERT_EQ(list.rowCount(), 4);
    EXPECT_EQ(shownNames(list), namesOf(workspace.files()));
    EXPECT_EQ(&list.entry(2), &workspace.files().at(2));

    // A search and the date order show the same rows, in the same order, as visible().
    workspace.setQuery("alpha");
    EXPECT_EQ(shownNames(list), QStringList({"alpha.png", "alphabet.pdf"}));
    workspace.setQuery({});
    workspace.setSortByDate(true);
    EXPECT_EQ(shownNames(list), namesOf(workspace.visible()));
    EXPECT_EQ(shownNames(list),
              QStringList({"gamma.txt", "alpha.png", "alphabet.pdf", "beta.txt"}));
    EXPECT_EQ(&list.entry(0), &workspace.files().at(workspace.files().indexOf(list.entry(0))));
    EXPECT_EQ(list.rowOf(tree.path("beta.txt")), 3);

    // The selection reads through the rows too.
    workspace.setSelection({tree.path("alpha.png")});
    EXPECT_TRUE(list.index(1).data(FileListModel::SelectedRole).toBool());
    EXPECT_FALSE(list.index(0).data(FileListModel::SelectedRole).toBool());
}

TEST(ThumbnailRequests, StartsOnlyAfterScrollingSettlesAndFewPerTurn)
{
    TempTree tree;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QList<FileEntry> files;
    for (int i = 0; i < 20; ++i) {
        const QString path = tree.path(QStringLiteral("p%1.png").arg(i));
        ASSERT_TRUE(picture.save(path));
        files << FileEntry::fromPath(path);
    }
    ThumbnailRequests requests;
    QSignalSpy ready(&requests, &ThumbnailRequests::ready);

    // Painting a fast scroll only notes what it would like to see.
    for (const FileEntry& file : files)
        EXPECT_TRUE(requests.image(file, 80).isNull());
    EXPECT_EQ(requests.pending(), 0);
    EXPECT_EQ(requests.wanted(), 20);

    // Settled on the last ten: the others are forgotten, a few start now.
    QSet<QString> shown;
    for (int i = 10; i < 20; ++i)
        shown.insert(files[i].path);
    requests.keepOnly(shown);
    EXPECT_EQ(requests.pending() + ready.size(), ThumbnailRequests::startsPerTurn);
    EXPECT_EQ(requests.wanted(), 10 - ThumbnailRequests::startsPerTurn);
    EXPECT_TRUE(requests.isAwaited(files[19].path, 80));
    EXPECT_FALSE(requests.isAwaited(files[0].path, 80));

    // The rest follow on later turns, and only the shown ones arrive.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == 10; }, 10000));
    QSet<QString> arrived;
    for (const QList<QVariant>& signal : ready)
        arrived.insert(signal.at(0).toString());
    EXPECT_EQ(arrived, shown);
    EXPECT_FALSE(requests.image(files[12], 80).isNull());
    EXPECT_EQ(requests.wanted(), 0);

    // Without any settling call, wishes still start once asking pauses.
    EXPECT_TRUE(requests.image(files[3], 80).isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ready.size() == 11; }, 10000));
    EXPECT_FALSE(requests.image(files[3], 80).isNull());
}
