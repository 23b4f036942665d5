#include "item_move.h"
#include "scratch_mount.h"
#include "temporary_trash.h"
#include "test_support.h"
#include "transfer_service.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

constexpr qint64 kMiB = 1 << 20;

struct stat statOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

TransferOutcome moveWith(const QString& source, const QString& folder,
                         ConflictAnswer answer = ConflictAnswer::Skip, bool refuse = false)
{
    TransferEngine::Handlers handlers;
    if (!refuse)
        handlers.conflicts = std::make_shared<ConflictResolver>(ConflictResolver::always(answer));
    return TransferService::perform({source, folder, TransferKind::Move}, handlers);
}

} // namespace

TEST(MoveOnOneFileSystem, IsARenameThatNeverReplaces)
{
    temporaryTrash();
    TempTree tree;
    const QString source = tree.file("a/report.pdf", "new");
    const ino_t inode = statOf(source).st_ino;
    const QString dest = tree.folder("b");
    TransferOutcome moved = moveWith(source, dest, ConflictAnswer::Skip, true);
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(statOf(dest + "/report.pdf").st_ino, inode) << "renamed, not copied";
    ASSERT_EQ(moved.placed.size(), 1);
    EXPECT_EQ(moved.placed[0].from, source);
    EXPECT_FALSE(moved.placed[0].sourceTrashed.has_value());

    // Taken names: refused, skipped, kept both, replaced.
    tree.file("a/report.pdf", "newer");
    EXPECT_THROW(moveWith(source, dest, ConflictAnswer::Skip, true), FileError);
    EXPECT_TRUE(moveWith(source, dest, ConflictAnswer::Skip).placed.isEmpty());
    EXPECT_EQ(contentsOf(source), "newer");
    moveWith(source, dest, ConflictAnswer::KeepBoth);
    EXPECT_EQ(entriesOf(dest), (QStringList{"report (2).pdf", "report.pdf"}));
    tree.file("a/report.pdf", "newest");
    moved = moveWith(source, dest, ConflictAnswer::Replace);
    EXPECT_EQ(contentsOf(dest + "/report.pdf"), "newest");
    ASSERT_TRUE(moved.placed.value(0).replaced.has_value());
    EXPECT_EQ(contentsOf(moved.placed[0].replaced->trashed), "new");
    EXPECT_TRUE(entriesOf(tree.path("a")).isEmpty());

    // Into itself, or where it already is.
    const QString album = tree.folder("album/inner");
    EXPECT_THROW(moveWith(tree.path("album"), album), FileError);
    EXPECT_TRUE(moveWith(tree.path("album"), tree.root()).placed.isEmpty());
    EXPECT_TRUE(QFile::exists(album));
}

TEST(MoveOnOneFileSystem, MergeMovesContentsAndLeavesSkippedOnesBehind)
{
    temporaryTrash();
    TempTree tree;
    tree.file("src/album/one.jpg", "new one");
    tree.file("src/album/sub/two.jpg", "two");
    tree.file("dest/album/one.jpg", "old one");
    tree.folder("dest/album/sub");
    const QString dest = tree.path("dest");

    // Merge the folders, skip the file: the skipped file stays at the source.
    auto answers = [](const NameConflict& c) {
        return ConflictChoice{c.canMerge() ? ConflictAnswer::Merge : ConflictAnswer::Skip, false};
    };
    TransferEngine::Handlers handlers;
    handlers.conflicts = std::make_shared<ConflictResolver>(answers);
    TransferOutcome outcome =
        TransferService::perform({tree.path("src/album"), dest, TransferKind::Move}, handlers);
    EXPECT_EQ(contentsOf(dest + "/album/one.jpg"), "old one");
    EXPECT_EQ(contentsOf(dest + "/album/sub/two.jpg"), "two");
    EXPECT_EQ(entriesOf(tree.path("src/album")), QStringList{"one.jpg"});
    EXPECT_EQ(outcome.removedFolders, QStringList{tree.path("src/album/sub")});

    // Everything placed: the emptied source folder goes too.
    outcome = moveWith(tree.path("src/album"), dest, ConflictAnswer::KeepBoth);
    EXPECT_EQ(entriesOf(dest), (QStringList{"album", "album (2)"}));
    EXPECT_FALSE(QFile::exists(tree.path("src/album")));
}

TEST(MoveAcrossFileSystems, CopiesChecksAndThenTrashesTheSource)
{
    const QString trash = temporaryTrash();
    TempTree tree;
    ScratchMount mount(tree.folder("other"), "8m");
    if (!mount.mounted()) GTEST_SKIP() << "mounting a scratch file system is not permitted here";
    const QString other = tree.path("other");
    const QByteArray data(2 * kMiB + 17, 'd');
    const QString file = tree.file("src/movie.bin", data);
    tree.file("src/album/a.jpg", "a");
    tree.file("src/album/.hidden", "h");
    const timespec mtime = statOf(file).st_mtim;

    TransferOutcome outcome = moveWith(file, other, ConflictAnswer::Skip, true);
    EXPECT_EQ(contentsOf(other + "/movie.bin"), data);
    EXPECT_EQ(statOf(other + "/movie.bin").st_mtim.tv_nsec, mtime.tv_nsec);
    EXPECT_FALSE(QFile::exists(file));
    ASSERT_TRUE(outcome.placed.value(0).sourceTrashed.has_value());
    const TrashedItem& trashed = *outcome.placed[0].sourceTrashed;
    EXPECT_TRUE(trashed.trashed.startsWith(trash));
    EXPECT_EQ(contentsOf(trashed.trashed), data);
    EXPECT_TRUE(contentsOf(trashed.info).contains("Path=" + QUrl::toPercentEncoding(file, "/")));

    outcome = moveWith(tree.path("src/album"), other, ConflictAnswer::Skip, true);
    EXPECT_EQ(entriesOf(other + "/album"), (QStringList{".hidden", "a.jpg"}));
    EXPECT_FALSE(QFile::exists(tree.path("src/album")));
    EXPECT_TRUE(partialCopiesIn(other).isEmpty());

    // Back the other way: the scratch disk has no trash for the original, so
    // nothing is copied at all.
    EXPECT_THROW(moveWith(other + "/album", tree.path("src"), ConflictAnswer::Skip, true),
                 FileError);
    EXPECT_FALSE(QFile::exists(tree.path("src/album")));
    EXPECT_EQ(entriesOf(other + "/album"), (QStringList{".hidden", "a.jpg"}));
}

TEST(MoveAcrossFileSystems, AFailureHalfwayLeavesTheSourceAndNoHalfCopy)
{
    temporaryTrash();
    TempTree tree;
    ScratchMount mount(tree.folder("small"), "1m");
    if (!mount.mounted()) GTEST_SKIP() << "mounting a scratch file system is not permitted here";
    const QString small = tree.path("small");
    const QByteArray data(3 * kMiB, 'x');
    tree.file("src/big/first.bin", QByteArray(512 * 1024, 'f'));
    tree.file("src/big/second.bin", data);

    try {
        moveWith(tree.path("src/big"), small, ConflictAnswer::Skip, true);
        ADD_FAILURE() << "a move that doesn't fit succeeded";
    } catch (const FileError& error) {
        EXPECT_EQ(error.systemError(), ENOSPC);
    }
    EXPECT_TRUE(entriesOf(small).isEmpty());
    EXPECT_EQ(entriesOf(tree.path("src/big")), (QStringList{"first.bin", "second.bin"}));
    EXPECT_EQ(contentsOf(tree.path("src/big/second.bin")), data);
    EXPECT_TRUE(trashedNames().filter("big").isEmpty());
}

TEST(MoveAcrossFileSystems, TheCheckSeesAChangedFile)
{
    TempTree tree;
    const QString source = tree.file("src/a.txt", "same");
    const QString copy = tree.file("copy/a.txt", "same");
    const timespec times[2] = {statOf(source).st_atim, statOf(source).st_mtim};
    ::utimensat(AT_FDCWD, QFile::encodeName(copy).constData(), times, 0);
    EXPECT_NO_THROW(ItemMove::verifyCopy(tree.path("src"), tree.path("copy")));
    tree.file("copy/a.txt", "diff");
    EXPECT_THROW(ItemMove::verifyCopy(tree.path("src"), tree.path("copy")), FileError);
    tree.file("src/b.txt", "b");
    EXPECT_THROW(ItemMove::verifyCopy(tree.path("src"), tree.path("copy")), FileError);
}
