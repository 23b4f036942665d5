// The list model the file views share: it follows the section's visible list
// without copying the entries, and asks for thumbnails only once scrolling
// settles, a few at a time.
#include "test_support.h"
#include "transfer_store.h"
#include "ui/file_list_model.h"
#include "ui/thumbnail_requests.h"
#include "workspace/scripted_discovery.h"
#include "workspace/workspace_model.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QImage>
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

} // namespace

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
