#include "file_error.h"
#include "file_operations.h"
#include "storage_report.h"
#include "storage_tree.h"
#include "test_support.h"

#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

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

TEST(StorageTree, LargeTreesAreFreedOffTheThreadThatLetsThemGo)
{
    // A large root whose one child says where and when it is freed, and can
    // hold its freeing until the test lets it go on.
    std::promise<void> proceed;
    std::shared_future<void> mayFree = proceed.get_future().share();
    std::atomic<bool> freed = false;
    std::thread::id freedOn;
    std::mutex freedOnLock;
    auto child = std::shared_ptr<const StorageNode>(
        new StorageNode(QStringLiteral("/r/a"), 10, 1, std::nullopt),
        [&, mayFree](const StorageNode* node) {
            mayFree.wait_for(std::chrono::seconds(20));
            {
                const std::lock_guard lock(freedOnLock);
                freedOn = std::this_thread::get_id();
            }
            delete node;
            freed = true;
        });
    std::shared_ptr<const StorageNode> large =
        StorageTree::freedInBackground(std::make_shared<const StorageNode>(
            QStringLiteral("/r"), 10, StorageTree::kFreedInBackgroundFrom,
            StorageNode::Children{std::move(child)}));
    large.reset(); // returns at once: the child's freeing waits on another thread
    EXPECT_FALSE(freed);
    proceed.set_value();
    StorageTree::waitForFreeing();
    EXPECT_TRUE(freed);
    const std::lock_guard lock(freedOnLock);
    EXPECT_NE(freedOn, std::this_thread::get_id());

    // A small tree is freed where it is let go.
    QList<FileEntry> files;
    for (int i = 0; i < 100; ++i)
        files.append(file(QStringLiteral("/s/d%1/f%2").arg(i / 10).arg(i), 10));
    std::shared_ptr<const StorageNode> small = StorageTree::build(files, QStringLiteral("/s"));
    std::weak_ptr<const StorageNode> smallChild = small->children()->front();
    small.reset();
    EXPECT_TRUE(smallChild.expired());
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
