// The watch on a shown folder is set on a thread of its own, and still tells
// each change on disk: those after it is set and those between the listing
// and then.
#include "test_support.h"
#include "workspace/folder_watch.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

namespace {

// Dates the folder's last change an hour back, as if untouched since.
void ageFolder(const QString& folder)
{
    const time_t hourAgo = time(nullptr) - 3600;
    const utimbuf times{hourAgo, hourAgo};
    ASSERT_EQ(::utime(QFile::encodeName(folder).constData(), &times), 0);
}

} // namespace

TEST(FolderWatch, SetOffTheGuiThreadItStillTellsEachChange)
{
    TempTree tree;
    const QString shown = tree.folder(QStringLiteral("shown"));
    const QString other = tree.folder(QStringLiteral("other"));
    ageFolder(shown);
    FolderWatch watch;
    QSignalSpy changed(&watch, &FolderWatch::changed);
    QSignalSpy watching(&watch, &FolderWatch::watching);

    // Set later than asked, on the watch's own thread.
    watch.watch(shown, QDateTime::currentDateTimeUtc());
    EXPECT_EQ(watch.folder(), shown);
    EXPECT_FALSE(watch.isWatching());
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.isWatching(); }, 5000));
    EXPECT_EQ(watching.size(), 1);

    // A file another program adds.
    tree.file(QStringLiteral("shown/added.txt"), "x");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() == 1; }, 5000));

    // Watching another folder instead.
    ageFolder(other);
    watch.watch(other, QDateTime::currentDateTimeUtc());
    ASSERT_TRUE(QTest::qWaitFor([&] { return watch.isWatching(); }, 5000));
    EXPECT_EQ(watching.size(), 2);
    tree.file(QStringLiteral("other/seen.txt"), "x");
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() == 2; }, 5000));
    EXPECT_EQ(watch.folder(), other);

    // Stopped, then a folder gone before its watch was set: that is a change
    // too, so the window finds out that it went.
    watch.stop();
    EXPECT_TRUE(watch.folder().isEmpty());
    const QString gone = tree.folder(QStringLiteral("gone"));
    const QDateTime listedAt = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(QDir(gone).removeRecursively());
    watch.watch(gone, listedAt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() == 3; }, 5000));
    EXPECT_FALSE(watch.isWatching());
}

TEST(FolderWatch, AChangeBetweenTheListingAndTheWatchIsTold)
{
    TempTree tree;
    const QString shown = tree.folder(QStringLiteral("shown"));
    ageFolder(shown);
    const QDateTime listedAt = QDateTime::currentDateTimeUtc();
    // Added after the listing was read, before the watch exists.
    tree.file(QStringLiteral("shown/meanwhile.txt"), "x");
    FolderWatch watch;
    QSignalSpy changed(&watch, &FolderWatch::changed);
    watch.watch(shown, listedAt);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changed.size() == 1; }, 5000));
    EXPECT_TRUE(watch.isWatching());
}
