#include "largest_files.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

TEST(LargestFiles, LeadersBySizeThenPath)
{
    TempTree tree;
    for (int i = 0; i < 40; ++i)
        tree.file(QStringLiteral("many/f%1").arg(i, 2, 10, QChar(u'0')), QByteArray(i % 10, 'x'));
    tree.file("b/tie", QByteArray(50, 't'));
    tree.file("a/tie", QByteArray(50, 't'));
    tree.file("top", QByteArray(90, 't'));
    tree.file(".hidden/huge", QByteArray(500, 'h'));
    ASSERT_EQ(
        ::symlink(tree.path("top").toUtf8().constData(), tree.path("link").toUtf8().constData()),
        0);

    const QList<FileEntry> top = LargestFiles::find({tree.root()}, 5);
    EXPECT_EQ(namesOf(top), QStringList({"top", "tie", "tie", "f09", "f19"}));
    EXPECT_EQ(top[1].path, tree.path("a/tie"));
    EXPECT_EQ(top[0].size, 90);

    // Overlapping folders don't list a file twice.
    EXPECT_EQ(namesOf(LargestFiles::find({tree.path("a"), tree.root(), tree.path("a")}, 3)),
              QStringList({"top", "tie", "tie"}));
    // Regular files only: the link is no large file, whatever its own size.
    EXPECT_EQ(LargestFiles::find({tree.root()}, 1000).size(), 40 + 3);
    EXPECT_TRUE(LargestFiles::find({tree.root()}, 0).isEmpty());
}
