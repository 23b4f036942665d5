#include "file_service.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

TEST(FileService, RunsCallsInOrderOffTheCallingThread)
{
    TempTree tree;
    FileService service;
    // Queued back to back: the listing must see the folder the first call made.
    QFuture<void> made = service.createFolder(tree.root(), QStringLiteral("new"));
    QFuture<void> renamed =
        service.rename(tree.path(QStringLiteral("new")), QStringLiteral("renamed"));
    QFuture<QList<FileEntry>> listed = service.contents(tree.root(), false);
    listed.waitForFinished();
    EXPECT_TRUE(made.isFinished());
    EXPECT_TRUE(renamed.isFinished());
    ASSERT_EQ(listed.result().size(), 1);
    EXPECT_EQ(listed.result().first().name, QStringLiteral("renamed"));
}

TEST(FileService, ErrorsAndCancellationReachTheCaller)
{
    TempTree tree;
    FileService service;
    QFuture<void> bad = service.createFolder(tree.root(), QStringLiteral("a/b"));
    try {
        bad.waitForFinished();
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), FileError::Code::FileWriteInvalidFileName);
    }

    for (int i = 0; i < 20000; ++i)
        tree.file(QStringLiteral("d%1/f%2").arg(i % 50).arg(i));
    // Cancelled while queued or running: no report either way.
    QFuture<StorageReport> scan = service.scan(tree.root());
    scan.cancel();
    scan.waitForFinished();
    EXPECT_TRUE(scan.isCanceled());
    EXPECT_EQ(scan.resultCount(), 0);

    // The service still works afterwards.
    QFuture<StorageReport> again = service.scan(tree.root());
    EXPECT_EQ(again.result().files.size(), 20000);
}
