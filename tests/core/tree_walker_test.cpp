#include "test_support.h"
#include "tree_walker.h"

#include <QDir>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/resource.h>

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

namespace {

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd"))
                   .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                   .size());
}

// Lowers how many descriptors this process may open, for the life of this object.
class ScopedDescriptorLimit {
public:
    explicit ScopedDescriptorLimit(rlim_t limit)
    {
        ::getrlimit(RLIMIT_NOFILE, &old_);
        struct rlimit lower = old_;
        lower.rlim_cur = limit;
        ::setrlimit(RLIMIT_NOFILE, &lower);
    }
    ~ScopedDescriptorLimit() { ::setrlimit(RLIMIT_NOFILE, &old_); }

private:
    struct rlimit old_;
};

// A raw walk's items as paths rebuilt from its folder numbers, and those
// whose stat couldn't be had.
struct RawPaths {
    QStringList all;
    QSet<QString> withoutStat;
};

RawPaths walkRawPaths(const QString& root, const std::function<void(const QString&)>& seen = {},
                      const CancelCheck& isCancelled = {})
{
    RawPaths result;
    QStringList folders{root};
    TreeWalker::walkRaw(
        root, false,
        [&](const TreeWalker::RawItem& item) {
            const QString path = folders[item.folder] + u'/' + QString::fromUtf8(item.name);
            result.all.append(path);
            if (!item.st) result.withoutStat.insert(path);
            if (item.st && S_ISDIR(item.st->st_mode)) folders.append(path);
            if (seen) seen(path);
        },
        isCancelled);
    return result;
}

} // namespace

// Folders are kept open for their subfolders only up to a share of what the
// process may open; past it (a wide tree read ahead, a deep one) subfolders are
// opened by path and nothing is lost.
TEST(TreeWalker, WideAndDeepTreesUnderALowDescriptorLimitAreWalkedWhole)
{
    TempTree tree;
    QSet<QString> expected;
    for (int f = 0; f < 300; ++f) {
        const QString folder = QStringLiteral("w%1").arg(f, 3, 10, QChar(u'0'));
        expected.insert(tree.folder(folder));
        expected.insert(tree.folder(folder + QStringLiteral("/inner")));
        expected.insert(tree.file(folder + QStringLiteral("/a")));
        expected.insert(tree.file(folder + QStringLiteral("/inner/b")));
    }
    QString chain = QStringLiteral("deep");
    for (int depth = 0; depth < 300; ++depth) {
        expected.insert(tree.folder(chain));
        expected.insert(tree.file(chain + QStringLiteral("/f")));
        chain += QStringLiteral("/d");
    }
    const QString root = QDir::cleanPath(tree.root());
    const int before = openDescriptors();
    {
        const ScopedDescriptorLimit limit(rlim_t(before + 48));
        for (int round = 0; round < 5; ++round) {
            const RawPaths raw = walkRawPaths(root);
            EXPECT_EQ(QSet<QString>(raw.all.begin(), raw.all.end()), expected);
            EXPECT_EQ(raw.all.size(), expected.size());
            EXPECT_TRUE(raw.withoutStat.isEmpty());
            QSet<QString> text;
            TreeWalker::walk(root, false, [&](const TreeWalker::Item& item) {
                text.insert(item.path);
                EXPECT_NE(item.st, nullptr) << item.path.toStdString();
            });
            EXPECT_EQ(text, expected);
        }
    }
    EXPECT_EQ(openDescriptors(), before);
}

// Stopping while helpers hold folders read ahead and folders are kept open
// for their subfolders: the walk ends at once and leaves nothing open.
TEST(TreeWalker, CancelledMidWayLeavesNothingOpen)
{
    TempTree tree;
    for (int f = 0; f < 40; ++f) {
        for (int n = 0; n < 10; ++n)
            tree.file(QStringLiteral("c%1/n%2").arg(f).arg(n));
        for (int n = 0; n < 5; ++n)
            tree.file(QStringLiteral("c%1/sub/m%2").arg(f).arg(n));
    }
    const QString root = QDir::cleanPath(tree.root());
    const int before = openDescriptors();
    for (const int after : {1, 2, 17, 200, 600}) {
        int asked = 0;
        int seen = 0;
        EXPECT_THROW(walkRawPaths(
                         root, [&](const QString&) { ++seen; }, [&] { return ++asked > after; }),
                     Cancelled)
            << after;
        EXPECT_EQ(seen, after);
        EXPECT_EQ(openDescriptors(), before) << after;
        asked = 0;
        EXPECT_THROW(
            TreeWalker::walk(
                root, false, [](const TreeWalker::Item&) {}, [&] { return ++asked > after; }),
            Cancelled);
        EXPECT_EQ(openDescriptors(), before) << after;
    }
}

// Folders removed after their parent was read, some perhaps already read
// ahead or being read: each shows once, either as one item that can't be
// looked at or as a folder holding what was left of it when read; every item
// under it is its own; the rest of the walk goes on.
TEST(TreeWalker, FoldersVanishingWhileQueuedShowAsTheyAreFound)
{
    for (int round = 0; round < 10; ++round) {
        TempTree tree;
        for (int f = 0; f < 40; ++f)
            for (int n = 0; n < 5; ++n)
                tree.file(QStringLiteral("v%1/of%1-%2").arg(f).arg(n));
        tree.file(QStringLiteral("kept/file"));
        const QString root = QDir::cleanPath(tree.root());
        bool removed = false;
        const RawPaths raw = walkRawPaths(root, [&](const QString& path) {
            if (removed) return;
            removed = true;
            // All the vanishing folders but the one the walk may be in.
            for (int f = 0; f < 40; ++f) {
                const QString folder = root + QStringLiteral("/v%1").arg(f);
                if (!path.startsWith(folder + u'/') && path != folder) {
                    ASSERT_TRUE(QDir(folder).removeRecursively());
                }
            }
        });
        EXPECT_TRUE(raw.all.contains(root + QStringLiteral("/kept/file")));
        EXPECT_FALSE(raw.withoutStat.contains(root + QStringLiteral("/kept/file")));
        qsizetype shown = 0;
        for (int f = 0; f < 40; ++f) {
            const QString folder = root + QStringLiteral("/v%1").arg(f);
            ASSERT_EQ(raw.all.count(folder), 1) << folder.toStdString();
            QStringList inside;
            for (const QString& path : raw.all)
                if (path.startsWith(folder + u'/')) inside.append(path);
            EXPECT_LE(inside.size(), 5) << folder.toStdString();
            if (raw.withoutStat.contains(folder)) {
                EXPECT_TRUE(inside.isEmpty()) << folder.toStdString();
            }
            for (const QString& path : inside)
                EXPECT_TRUE(path.startsWith(folder + QStringLiteral("/of%1-").arg(f)))
                    << path.toStdString();
            shown += inside.size();
        }
        EXPECT_EQ(raw.all.size(), 40 + shown + 2);
    }
}
