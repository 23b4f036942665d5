#include "file_error.h"
#include "file_operations.h"
#include "storage_report.h"
#include "storage_tree.h"
#include "test_support.h"

#include <QSemaphore>
#include <QThreadPool>
#include <gtest/gtest.h>

namespace {

FileEntry file(const QString& path, qint64 size)
{
    return FileEntry::indexed(path, size, QDateTime::currentDateTimeUtc(), false);
}

QStringList childNames(const StorageNode& node)
{
    QStringList names;
    for (const auto& child : node.children().value())
        names.append(child->name());
    return names;
}

} // namespace

TEST(StorageTree, SumsFoldersAndSkipsWhatDoesNotCount)
{
    const QList<FileEntry> files{file("/r/a/x", 10),
                                 file("/r/b", 5),
                                 file("/r/a/x", 10), // listed twice
                                 file("/rx/y", 99),
                                 file("/other", 7), // outside the root
                                 FileEntry::indexed("/r/a", 0, {}, true),
                                 file("/r/./a/../b", 5),
                                 file("/r//a/z", 0)};
    const auto root = StorageTree::build(files, "/r");
    EXPECT_EQ(root->name(), QStringLiteral("r"));
    EXPECT_EQ(root->bytes(), 15);
    EXPECT_EQ(root->fileCount(), 3); // x, b and the empty z
    ASSERT_TRUE(root->isDirectory());
    EXPECT_EQ(childNames(*root), QStringList({"a", "b"}));
    const StorageNode& a = *root->children()->at(0);
    EXPECT_EQ(a.path(), QStringLiteral("/r/a"));
    EXPECT_TRUE(a.isDirectory());
    EXPECT_EQ(a.bytes(), 10);
    EXPECT_EQ(a.fileCount(), 2);
    EXPECT_EQ(childNames(a), QStringList({"x", "z"}));
    const StorageNode& b = *root->children()->at(1);
    EXPECT_FALSE(b.isDirectory());
    EXPECT_EQ(b.fileCount(), 1);

    const auto empty = StorageTree::build({file("/elsewhere/f", 3)}, "/r/");
    EXPECT_TRUE(empty->isDirectory());
    EXPECT_TRUE(empty->children()->empty());
    EXPECT_EQ(empty->path(), QStringLiteral("/r"));
}

TEST(StorageTree, RootNamesAndTieOrder)
{
    const QList<FileEntry> files{file("/t/a", 4), file("/t/B", 4), file(u"/t/\U0001F600"_qs, 4),
                                 file(u"/t/\uFF21"_qs, 4), file("/t/big", 5)};
    const auto root = StorageTree::build(files, "/");
    EXPECT_EQ(root->name(), QStringLiteral("This Computer"));
    EXPECT_EQ(root->path(), QStringLiteral("/"));
    const auto& t = *root->children()->at(0);
    EXPECT_EQ(t.path(), QStringLiteral("/t"));
    // Equal sizes: code-point order, so a character above U+FFFF comes after U+FF21.
    EXPECT_EQ(childNames(t), QStringList({"big", "B", "a", u"\uFF21"_qs, u"\U0001F600"_qs}));
}

TEST(StorageTree, FindStaysInsideItsPrefix)
{
    const auto root = StorageTree::build({file("/r/a/x", 1), file("/r/b", 2)}, "/r");
    EXPECT_EQ(root->find(u"/r"), root.get());
    ASSERT_NE(root->find(u"/r/a/x"), nullptr);
    EXPECT_EQ(root->find(u"/r/a/x")->bytes(), 1);
    EXPECT_EQ(root->find(u"/r/a")->fileCount(), 1);
    EXPECT_EQ(root->find(u"/rx/y"), nullptr);
    EXPECT_EQ(root->find(u"/r/a/x/deeper"), nullptr);
    EXPECT_EQ(root->find(u"/r/c"), nullptr);
    const auto top = StorageTree::build({file("/r/a/x", 1)}, "/");
    EXPECT_EQ(top->find(u"/r/a/x")->name(), QStringLiteral("x"));
}

TEST(StorageTree, ScannedFolderAndCancellation)
{
    TempTree tree;
    tree.file("one/two/deep.bin", QByteArray(300, 'x'));
    tree.file("one/side.bin", QByteArray(100, 'y'));
    tree.file("top.bin", QByteArray(250, 'z'));
    const StorageReport report = FileOperations::scan(tree.root());
    const auto root = StorageTree::build(report.files, tree.root());
    EXPECT_EQ(root->bytes(), 650);
    EXPECT_EQ(childNames(*root), QStringList({"one", "top.bin"}));
    EXPECT_EQ(root->find(tree.path("one/two"))->bytes(), 300);

    int asked = 0;
    EXPECT_THROW(StorageTree::build(report.files, tree.root(), [&] { return ++asked == 2; }),
                 Cancelled);
    EXPECT_EQ(asked, 2);
}

TEST(StorageTree, LargeTreesAreFreedOnAPoolThread)
{
    const auto tree = [](int count) {
        QList<FileEntry> files;
        for (int i = 0; i < count; ++i)
            files.append(FileEntry::indexed(QStringLiteral("/r/d%1/f%2").arg(i / 50).arg(i), 10,
                                            QDateTime(), false));
        return StorageTree::build(files, QStringLiteral("/r"));
    };
    // Hold every pool thread, so that the freeing can only wait.
    QThreadPool* pool = QThreadPool::globalInstance();
    QSemaphore started, release;
    for (int i = 0; i < pool->maxThreadCount(); ++i)
        pool->start([&] {
            started.release();
            release.acquire();
        });
    started.acquire(pool->maxThreadCount());

    std::shared_ptr<const StorageNode> large = tree(int(StorageTree::kFreedInBackgroundFrom));
    std::weak_ptr<const StorageNode> largeChild = large->children()->front();
    std::shared_ptr<const StorageNode> small = tree(100);
    std::weak_ptr<const StorageNode> smallChild = small->children()->front();
    large.reset();
    small.reset();
    EXPECT_TRUE(smallChild.expired());
    EXPECT_FALSE(largeChild.expired()); // handed over, not freed here

    release.release(pool->maxThreadCount());
    pool->waitForDone();
    EXPECT_TRUE(largeChild.expired());
}

TEST(StorageReport, ReadingASharedListDoesNotCopyIt)
{
    QList<FileEntry> files;
    for (int i = 0; i < 3; ++i)
        files.append(FileEntry::indexed(QStringLiteral("/r/f%1").arg(i), 100, QDateTime(), false));
    const StorageReport report(files, 0);
    EXPECT_EQ(report.total, 300);
    // One list for both: a scan's files go on to the summary and the window uncopied.
    EXPECT_EQ(report.files.constData(), files.constData());
}
