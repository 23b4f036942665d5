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
