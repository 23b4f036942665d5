#include "file_operations.h"
#include "file_table.h"
#include "native_path.h"
#include "test_support.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct stat statOf(qint64 size, qint64 seconds)
{
    struct stat st {};
    st.st_mode = S_IFREG | 0644;
    st.st_size = size;
    st.st_mtim.tv_sec = seconds;
    st.st_mtim.tv_nsec = 250'000'000;
    return st;
}

} // namespace

TEST(FileTable, MakesEntriesFromFolderNumbersAndNames)
{
    FileTable table(QStringLiteral("/r"));
    table.addFolder(0, "a");                       // 1
    table.addFolder(1, "b");                       // 2
    table.addFolder(0, QByteArrayView("\xff", 1)); // 3: not UTF-8
    table.addFile(2, "x.JPG", statOf(10, 1000));
    table.addFile(0, "top", statOf(-1, 0));
    table.addFile(3, QByteArrayView("n\xfe", 2), statOf(5, 2000));

    ASSERT_EQ(table.size(), 3);
    EXPECT_EQ(table.total(), 15);
    const FileEntry x = table.entry(0);
    EXPECT_EQ(x.path, QStringLiteral("/r/a/b/x.JPG"));
    EXPECT_EQ(x.name, QStringLiteral("x.JPG"));
    EXPECT_EQ(x.size, 10);
    EXPECT_EQ(x.modified.toMSecsSinceEpoch(), 1'000'250);
    EXPECT_EQ(x.mediaKind, MediaKind::Image);
    EXPECT_FALSE(x.isDirectory);
    EXPECT_EQ(table.entry(1).size, 0); // never negative
    EXPECT_EQ(nativePath(table.path(2)), QByteArray("/r/\xff/n\xfe"));
    EXPECT_EQ(table.entries(), (QList<FileEntry>{x, table.entry(1), table.entry(2)}));
}

TEST(FileTable, LongNamesFillManyBlocksWithoutMixingUp)
{
    FileTable table(QStringLiteral("/"));
    // 255-byte names: a few thousand fill a block, so this crosses several.
    for (int i = 0; i < 20'000; ++i) {
        QByteArray name = QByteArray::number(i).rightJustified(255, 'n');
        table.addFile(0, name, statOf(i, i));
    }
    for (int i = 0; i < 20'000; i += 997) {
        EXPECT_EQ(table.path(i), u'/' + QString::number(i).rightJustified(255, u'n'));
        EXPECT_EQ(table.fileSize(i), i);
    }
}

TEST(FileTable, CompactScanGivesWhatTheFullScanGives)
{
    TempTree tree;
    tree.file(QStringLiteral("a/b/one.txt"), QByteArray(7, 'x'));
    tree.file(QStringLiteral("a/two.png"), QByteArray(3, 'x'));
    tree.file(QStringLiteral("three"));
    tree.folder(QStringLiteral("empty/deeper"));
    tree.file(QStringLiteral(".hidden/four"));

    const CompactStorageReport compact = FileOperations::scanCompact(tree.root());
    const StorageReport full = FileOperations::scan(tree.root());
    EXPECT_EQ(compact.total(), 10);
    EXPECT_EQ(compact.files.size(), 3);
    EXPECT_EQ(compact.expanded(), full);
    QStringList paths;
    compact.files.forEach([&](const FileEntry& entry) { paths.append(entry.path); });
    EXPECT_TRUE(paths.contains(QDir::cleanPath(tree.root()) + QStringLiteral("/a/b/one.txt")));
}
