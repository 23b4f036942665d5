#include "test_support.h"
#include "tree_walker.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

// Wide folders, walked many times: the helpers read ahead from the far end
// while the walk reads from the near one, so the two often reach the same folder.
TEST(TreeWalker, VisitsEveryItemOnceParentsFirstWhileHelpersReadAhead)
{
    TempTree tree;
    QSet<QString> expected;
    for (int f = 0; f < 32; ++f) {
        const QString folder = QStringLiteral("f%1").arg(f);
        expected.insert(tree.folder(folder));
        for (int n = 0; n < 20; ++n)
            expected.insert(tree.file(QStringLiteral("%1/n%2").arg(folder).arg(n)));
        expected.insert(tree.folder(folder + QStringLiteral("/inner")));
    }

    const QString root = QDir::cleanPath(tree.path({}));
    for (int round = 0; round < 40; ++round) {
        QSet<QString> seen;
        bool parentsFirst = true;
        TreeWalker::walk(root, false, [&](const TreeWalker::Item& item) {
            const QString parent = item.path.section(u'/', 0, -2);
            if (parent != root && !seen.contains(parent)) parentsFirst = false;
            EXPECT_FALSE(seen.contains(item.path)) << item.path.toStdString();
            seen.insert(item.path);
            ASSERT_NE(item.st, nullptr);
        });
        EXPECT_EQ(seen, expected);
        EXPECT_TRUE(parentsFirst);
    }
}

// The byte-name walk numbers folders as it meets them; rebuilding paths from
// those numbers gives exactly the paths of the text walk, in the same order.
TEST(TreeWalker, RawWalkNumbersFoldersAsItMeetsThem)
{
    TempTree tree;
    for (int f = 0; f < 6; ++f)
        for (int n = 0; n < 4; ++n)
            tree.file(QStringLiteral("f%1/g%2/n%3").arg(f).arg(n % 2).arg(n));
    tree.folder(QStringLiteral("empty"));
    const QString root = QDir::cleanPath(tree.path({}));

    QStringList textPaths;
    TreeWalker::walk(root, false,
                     [&](const TreeWalker::Item& item) { textPaths.append(item.path); });
    QStringList folders{root}, rawPaths;
    TreeWalker::walkRaw(root, false, [&](const TreeWalker::RawItem& item) {
        ASSERT_LT(qsizetype(item.folder), folders.size());
        const QString path = folders[item.folder] + u'/' + QString::fromUtf8(item.name);
        rawPaths.append(path);
        if (item.st && S_ISDIR(item.st->st_mode)) folders.append(path);
    });
    EXPECT_EQ(rawPaths, textPaths);
    EXPECT_EQ(folders.size(), 1 + 6 + 12 + 1);
}
