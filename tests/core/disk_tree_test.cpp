#include "disk_tree.h"
#include "file_operations.h"
#include "storage_tree.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

// Paths, bytes, counts and kinds of every node, in the stored order.
void flatten(const StorageNode& node, QStringList& out)
{
    out.append(QStringLiteral("%1 %2 %3 %4")
                   .arg(node.path())
                   .arg(node.bytes())
                   .arg(node.fileCount())
                   .arg(node.isDirectory()));
    if (node.children())
        for (const auto& child : *node.children())
            flatten(*child, out);
}

} // namespace

TEST(DiskTree, SameHierarchyAsTheTreeOfAScan)
{
    TempTree tree;
    tree.file(QStringLiteral("a/x"), QByteArray(10, 'x'));
    tree.file(QStringLiteral("a/deep/er/y"), QByteArray(4, 'x'));
    tree.file(QStringLiteral("b"), QByteArray(5, 'x'));
    tree.file(QStringLiteral("B"), QByteArray(5, 'x')); // ties go by code point: B before b
    tree.file(QStringLiteral("zero"));
    tree.folder(QStringLiteral("empty/inside")); // no files: not in the tree
    tree.file(QStringLiteral(".hidden/h"), QByteArray(100, 'x'));
    const QString root = QDir::cleanPath(tree.root());

    const auto walked = DiskTree::build(root);
    const auto fromScan = StorageTree::build(FileOperations::scan(root).files, root);
    QStringList expected, actual;
    flatten(*fromScan, expected);
    flatten(*walked, actual);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(walked->bytes(), 24);
    EXPECT_EQ(walked->fileCount(), 5);
    EXPECT_EQ(walked->find(root + QStringLiteral("/empty")), nullptr);
    ASSERT_NE(walked->find(root + QStringLiteral("/a/deep/er/y")), nullptr);
}

TEST(DiskTree, EmptyRootIsAFolderAndCancellationStopsIt)
{
    TempTree tree;
    const auto empty = DiskTree::build(tree.root());
    EXPECT_TRUE(empty->isDirectory());
    EXPECT_TRUE(empty->children()->empty());

    for (int i = 0; i < 50; ++i)
        tree.file(QStringLiteral("f%1").arg(i));
    int checks = 0;
    EXPECT_THROW(DiskTree::build(tree.root(), [&] { return ++checks > 10; }), Cancelled);
    EXPECT_THROW(DiskTree::build(tree.root() + QStringLiteral("/missing")), FileError);
}
