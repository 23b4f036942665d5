#include "path_names.h"
#include "test_support.h"
#include "transfer_service.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFuture>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr qint64 kMiB = 1 << 20;

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

struct stat lstatOf(const QString& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(native(path).constData(), &st), 0) << path.toStdString();
    return st;
}

// Everything in `folder`, hidden items too.
// Runs one copy, keeping every progress report; returns the error, if any.
struct CopyRun {
    std::vector<CopyProgress> reports;
    std::optional<FileError> error;
    bool cancelled = false;
};

CopyRun copyWith(const QString& source, const QString& folder,
                 const std::function<void(const CopyProgress&)>& hook = {},
                 const CancelCheck& isCancelled = {})
{
    CopyRun run;
    try {
        TransferService::copy(
            source, folder,
            [&](const CopyProgress& p) {
                run.reports.push_back(p);
                if (hook) hook(p);
            },
            isCancelled);
    } catch (const FileError& error) {
        run.error = error;
    } catch (const Cancelled&) {
        run.cancelled = true;
    }
    return run;
}

FileError::Code codeOf(const CopyRun& run)
{
    EXPECT_TRUE(run.error.has_value()) << "the copy succeeded";
    return run.error ? run.error->code() : FileError::Code::System;
}

void setTimes(const QString& path, timespec atime, timespec mtime)
{
    const timespec times[2] = {atime, mtime};
    ASSERT_EQ(::utimensat(AT_FDCWD, native(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

bool sameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

QByteArray xattrOf(const QString& path, const char* name)
{
    QByteArray value(4096, 0);
    const ssize_t n = ::lgetxattr(native(path).constData(), name, value.data(), value.size());
    return n < 0 ? QByteArray() : value.left(n);
}

// A POSIX access ACL in the kernel's xattr form: owner rw, user 65534 r, group r,
// mask r, others none.
QByteArray sampleAcl()
{
    QByteArray acl;
    auto put32 = [&](quint32 v) { acl.append(reinterpret_cast<const char*>(&v), 4); };
    auto entry = [&](quint16 tag, quint16 perm, quint32 id) {
        acl.append(reinterpret_cast<const char*>(&tag), 2);
        acl.append(reinterpret_cast<const char*>(&perm), 2);
        put32(id);
    };
    put32(2);
    entry(0x01, 6, 0xffffffff);
    entry(0x02, 4, 65534);
    entry(0x04, 4, 0xffffffff);
    entry(0x10, 4, 0xffffffff);
    entry(0x20, 0, 0xffffffff);
    return acl;
}

} // namespace

TEST(TransferCopy, RefusesToCopyAFolderIntoItselfEvenThroughALink)
{
    TempTree tree;
    tree.file(QStringLiteral("album/one.jpg"), "1");
    const QString inner = tree.folder(QStringLiteral("album/sub/deeper"));
    const QString album = tree.path(QStringLiteral("album"));
    ASSERT_TRUE(QFile::link(inner, tree.path(QStringLiteral("shortcut"))));
    tree.folder(QStringLiteral("albumen")); // shares a prefix but is not inside

    for (const QString& into : {album, inner, tree.path(QStringLiteral("shortcut"))}) {
        const CopyRun run = copyWith(album, into);
        EXPECT_EQ(codeOf(run), FileError::Code::FileWriteInvalidFileName) << into.toStdString();
        EXPECT_TRUE(run.reports.empty()) << "nothing may move before the check";
    }
    EXPECT_TRUE(entriesOf(inner).isEmpty());
    EXPECT_EQ(entriesOf(album), (QStringList{"one.jpg", "sub"}));

    // A source reached through a linked parent is resolved the same way.
    ASSERT_TRUE(QFile::link(tree.root(), tree.path(QStringLiteral("album/sub/up"))));
    const CopyRun viaLink = copyWith(tree.path(QStringLiteral("album/sub/up/album")), inner);
    EXPECT_EQ(codeOf(viaLink), FileError::Code::FileWriteInvalidFileName);

    const CopyRun sibling = copyWith(album, tree.path(QStringLiteral("albumen")));
    EXPECT_FALSE(sibling.error.has_value()) << sibling.error->message().toStdString();
    EXPECT_TRUE(QFile::exists(tree.path(QStringLiteral("albumen/album/one.jpg"))));
}

TEST(TransferCopy, NeverReplacesAnItemAtTheTarget)
{
    TempTree tree;
    const QString source = tree.file(QStringLiteral("src/report.txt"), QByteArray(3 * kMiB, 'n'));
    const QString dest = tree.folder(QStringLiteral("dest"));
    const QString existing = tree.file(QStringLiteral("dest/report.txt"), "old");

    CopyRun run = copyWith(source, dest);
    EXPECT_EQ(codeOf(run), FileError::Code::FileWriteFileExists);
    EXPECT_EQ(contentsOf(existing), "old");
    EXPECT_EQ(entriesOf(dest), QStringList{"report.txt"});

    // Taken while the copy runs: the final move must not replace it either.
    QFile::remove(existing);
    const QString raced = tree.path(QStringLiteral("dest/report.txt"));
    run = copyWith(source, dest, [&](const CopyProgress& p) {
        if (p.bytes > 0 && !QFile::exists(raced))
            tree.file(QStringLiteral("dest/report.txt"), "mine");
    });
    EXPECT_EQ(codeOf(run), FileError::Code::FileWriteFileExists);
    EXPECT_EQ(contentsOf(raced), "mine");
    EXPECT_TRUE(partialCopiesIn(dest).isEmpty());
}

TEST(TransferCopy, ReportsProgressAtTheChunkBoundaries)
{
    TempTree tree;
    const QString dest = tree.folder(QStringLiteral("dest"));
    const QString exact = tree.file(QStringLiteral("exact.bin"), QByteArray(kMiB, 'e'));
    CopyRun run = copyWith(exact, dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(run.reports, (std::vector<CopyProgress>{{0, kMiB}, {kMiB, kMiB}, {kMiB, kMiB}}));
    EXPECT_EQ(contentsOf(childPath(dest, QStringLiteral("exact.bin"))), QByteArray(kMiB, 'e'));

    // A tree: the total is fixed before data moves and counts only file data.
    const qint64 total = 3 * kMiB + 7 + 1;
    tree.file(QStringLiteral("tree/a.bin"), QByteArray(3 * kMiB + 7, 'a'));
    tree.file(QStringLiteral("tree/sub/b"), "b");
    tree.file(QStringLiteral("tree/sub/empty"));
    ASSERT_TRUE(QFile::link(QStringLiteral("a.bin"), tree.path(QStringLiteral("tree/link"))));
    run = copyWith(tree.path(QStringLiteral("tree")), dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    ASSERT_GE(run.reports.size(), 3u);
    EXPECT_EQ(run.reports.front(), (CopyProgress{0, total}));
    EXPECT_GT(run.reports[1].bytes, 0);
    EXPECT_LE(run.reports[1].bytes, kMiB);
    EXPECT_EQ(run.reports.back(), (CopyProgress{total, total}));
    for (std::size_t i = 1; i < run.reports.size(); ++i) {
        EXPECT_EQ(run.reports[i].total, total);
        EXPECT_GE(run.reports[i].bytes, run.reports[i - 1].bytes);
    }
    EXPECT_EQ(contentsOf(tree.path(QStringLiteral("dest/tree/a.bin"))),
              QByteArray(3 * kMiB + 7, 'a'));
    EXPECT_EQ(QFileInfo(tree.path(QStringLiteral("dest/tree/sub/empty"))).size(), 0);

    // Nothing but folders and empty files: (0, 0) twice.
    tree.folder(QStringLiteral("bare/inner"));
    tree.file(QStringLiteral("bare/inner/zero"));
    run = copyWith(tree.path(QStringLiteral("bare")), dest);
    EXPECT_EQ(run.reports, (std::vector<CopyProgress>{{0, 0}, {0, 0}}));
    EXPECT_TRUE(QFileInfo(tree.path(QStringLiteral("dest/bare/inner/zero"))).isFile());
}

TEST(TransferCopy, EmptyFolderKeepsItsMetadata)
{
    TempTree tree;
    const QString empty = tree.folder(QStringLiteral("empty"));
    const QString dest = tree.folder(QStringLiteral("dest"));
    ASSERT_EQ(::chmod(native(empty).constData(), 0751), 0);
    setTimes(empty, {1600000000, 123456789}, {1500000000, 987654321});

    const CopyRun run = copyWith(empty, dest);
    EXPECT_EQ(run.reports, (std::vector<CopyProgress>{{0, 0}, {0, 0}}));
    const struct stat copied = lstatOf(childPath(dest, QStringLiteral("empty")));
    EXPECT_TRUE(S_ISDIR(copied.st_mode));
    EXPECT_EQ(copied.st_mode & 07777, 0751u);
    EXPECT_TRUE(sameTime(copied.st_mtim, {1500000000, 987654321}));
    EXPECT_TRUE(entriesOf(childPath(dest, QStringLiteral("empty"))).isEmpty());
    EXPECT_EQ(entriesOf(dest), QStringList{"empty"});
}

TEST(TransferCopy, LinksAreCopiedAsLinksNeverFollowed)
{
    TempTree tree;
    tree.file(QStringLiteral("big.bin"), QByteArray(100000, 'b'));
    const QString link = tree.path(QStringLiteral("to-big"));
    ASSERT_TRUE(QFile::link(QStringLiteral("big.bin"), link));
    const QString dest = tree.folder(QStringLiteral("dest"));

    CopyRun run = copyWith(link, dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(run.reports, (std::vector<CopyProgress>{{0, 0}, {0, 0}}));
    const QString copied = childPath(dest, QStringLiteral("to-big"));
    EXPECT_TRUE(S_ISLNK(lstatOf(copied).st_mode));
    EXPECT_EQ(QFile::symLinkTarget(copied), childPath(dest, QStringLiteral("big.bin")));

    // A loop and a dangling link inside a tree: copied as they are, no hang.
    tree.file(QStringLiteral("looped/file"), "f");
    ASSERT_TRUE(QFile::link(QStringLiteral("."), tree.path(QStringLiteral("looped/self"))));
    ASSERT_TRUE(QFile::link(QStringLiteral("nowhere"), tree.path(QStringLiteral("looped/gone"))));
    ASSERT_EQ(::mkfifo(native(tree.path(QStringLiteral("looped/pipe"))).constData(), 0640), 0);
    run = copyWith(tree.path(QStringLiteral("looped")), dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(run.reports.back(), (CopyProgress{1, 1}));
    EXPECT_EQ(entriesOf(tree.path(QStringLiteral("dest/looped"))),
              (QStringList{"file", "gone", "pipe", "self"}));
    EXPECT_TRUE(S_ISLNK(lstatOf(tree.path(QStringLiteral("dest/looped/self"))).st_mode));
    EXPECT_TRUE(S_ISFIFO(lstatOf(tree.path(QStringLiteral("dest/looped/pipe"))).st_mode));
}

TEST(TransferCopy, HiddenItemsAndOddNamesAreCopied)
{
    TempTree tree;
    tree.file(QStringLiteral("src/.config/settings"), "s");
    tree.file(QStringLiteral("src/.hidden"), "listed\n");
    tree.file(QStringLiteral("src/listed"), "l");
    // A name that is not UTF-8 must survive the trip byte for byte.
    const QByteArray odd = native(tree.path(QStringLiteral("src"))) + "/caf\xe9.txt";
    const int fd = ::open(odd.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const QString dest = tree.folder(QStringLiteral("dest"));

    const CopyRun run = copyWith(tree.path(QStringLiteral("src")), dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(contentsOf(tree.path(QStringLiteral("dest/src/.config/settings"))), "s");
    EXPECT_EQ(contentsOf(tree.path(QStringLiteral("dest/src/.hidden"))), "listed\n");
    EXPECT_EQ(contentsOf(tree.path(QStringLiteral("dest/src/listed"))), "l");
    struct stat st;
    EXPECT_EQ(::lstat((native(dest) + "/src/caf\xe9.txt").constData(), &st), 0);
    // Qt can't name these, so the temporary folder couldn't remove them.
    ::unlink(odd.constData());
    ::unlink((native(dest) + "/src/caf\xe9.txt").constData());
}

TEST(TransferCopy, ReadOnlyFoldersGetTheirModeAfterTheirContents)
{
    TempTree tree;
    tree.openToEveryone();
    tree.file(QStringLiteral("src/locked/inner/deep.txt"), "deep");
    tree.file(QStringLiteral("src/locked/file.txt"), "x");
    const QString dest = tree.folder(QStringLiteral("dest"));
    for (const char* folder : {"src", "src/locked/inner"})
        ::chmod(native(tree.path(QString::fromUtf8(folder))).constData(), 0755);
    for (const char* file : {"src/locked/inner/deep.txt", "src/locked/file.txt"})
        ::chmod(native(tree.path(QString::fromUtf8(file))).constData(), 0444);
    ::chmod(native(tree.path(QStringLiteral("src/locked"))).constData(), 0555);
    ::chmod(native(dest).constData(), 0777);
    const QString source = tree.path(QStringLiteral("src"));

    auto check = [&](const QString& copied) {
        return contentsOf(copied + QStringLiteral("/locked/inner/deep.txt")) == "deep" &&
               (lstatOf(copied + QStringLiteral("/locked")).st_mode & 07777) == 0555 &&
               (lstatOf(copied + QStringLiteral("/locked/file.txt")).st_mode & 07777) == 0444;
    };
    // Root ignores modes; an ordinary user is what this is about.
    const int status = runAsNobody([&] {
        const CopyRun run = copyWith(source, dest);
        if (run.error) return 2;
        return check(childPath(dest, QStringLiteral("src"))) ? 0 : 3;
    });
    if (status == -1) {
        const CopyRun run = copyWith(source, dest);
        ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
        EXPECT_TRUE(check(childPath(dest, QStringLiteral("src"))));
        return;
    }
    EXPECT_EQ(status, 0);
    // And a copy it can't finish (unreadable folder) leaves nothing, even read-only parts.
    ::chmod(native(tree.path(QStringLiteral("src/locked/inner"))).constData(), 0700);
    const QString again = tree.folder(QStringLiteral("again"));
    ::chmod(native(again).constData(), 0777);
    const int failed = runAsNobody([&] {
        const CopyRun run = copyWith(source, again);
        if (!run.error || run.error->code() != FileError::Code::FileReadNoPermission) return 2;
        return entriesOf(again).isEmpty() ? 0 : 3;
    });
    EXPECT_EQ(failed, 0);
}

TEST(TransferCopy, MetadataIsPreserved)
{
    TempTree tree;
    const QString file = tree.file(QStringLiteral("src/photo.jpg"), "jpeg data");
    const QString folder = tree.path(QStringLiteral("src"));
    const QString link = tree.path(QStringLiteral("src/link"));
    ASSERT_TRUE(QFile::link(QStringLiteral("photo.jpg"), link));
    ASSERT_EQ(::chmod(native(file).constData(), 02640), 0);
    ASSERT_EQ(::chmod(native(folder).constData(), 0705), 0);
    const bool xattrs = ::lsetxattr(native(file).constData(), "user.tag", "blue", 4, 0) == 0 &&
                        ::lsetxattr(native(folder).constData(), "user.note", "n", 1, 0) == 0;
    const QByteArray acl = sampleAcl();
    const bool acls = ::lsetxattr(native(file).constData(), "system.posix_acl_access",
                                  acl.constData(), size_t(acl.size()), 0) == 0;
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::lchown(native(file).constData(), 65534, 65534), 0);
    }
    setTimes(file, {1111111111, 111111111}, {1222222222, 222222222});
    setTimes(link, {1333333333, 333333333}, {1444444444, 444444444});
    setTimes(folder, {1555555555, 555555555}, {1666666666, 666666666});
    const struct stat fileBefore = lstatOf(file);
    const QString dest = tree.folder(QStringLiteral("dest"));

    const CopyRun run = copyWith(folder, dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    const QString copiedFile = tree.path(QStringLiteral("dest/src/photo.jpg"));
    const struct stat fileAfter = lstatOf(copiedFile);
    EXPECT_EQ(fileAfter.st_mode, fileBefore.st_mode);
    EXPECT_TRUE(sameTime(fileAfter.st_mtim, {1222222222, 222222222}));
    EXPECT_TRUE(sameTime(fileAfter.st_atim, {1111111111, 111111111}));
    EXPECT_TRUE(sameTime(lstatOf(tree.path(QStringLiteral("dest/src/link"))).st_mtim,
                         {1444444444, 444444444}));
    const struct stat folderAfter = lstatOf(tree.path(QStringLiteral("dest/src")));
    EXPECT_EQ(folderAfter.st_mode & 07777, 0705u);
    EXPECT_TRUE(sameTime(folderAfter.st_mtim, {1666666666, 666666666}));
    if (root) {
        EXPECT_EQ(fileAfter.st_uid, 65534u);
        EXPECT_EQ(fileAfter.st_gid, 65534u);
        EXPECT_EQ(fileAfter.st_mode & 07777, 02640u) << "set-group-ID survives the chown";
    }
    if (xattrs) {
        EXPECT_EQ(xattrOf(copiedFile, "user.tag"), "blue");
        EXPECT_EQ(xattrOf(tree.path(QStringLiteral("dest/src")), "user.note"), "n");
    }
    if (acls) {
        EXPECT_EQ(xattrOf(copiedFile, "system.posix_acl_access"), acl);
    }
    if (!xattrs || !acls) GTEST_SKIP() << "the temporary folder's file system lacks xattrs or ACLs";
}

TEST(TransferCopy, AFolderThatHandsDownItsGroupDoesNotChangeTheCopysGroup)
{
    TempTree tree;
    const QString file = tree.file(QStringLiteral("src/notes.txt"), "n");
    const QString dest = tree.folder(QStringLiteral("shared"));
    if (::chown(native(dest).constData(), ::geteuid(), 65534) != 0)
        GTEST_SKIP() << "can't give the folder another group";
    ASSERT_EQ(::chmod(native(dest).constData(), 02775), 0);
    const gid_t own = lstatOf(file).st_gid;
    ASSERT_NE(own, 65534u);

    const CopyRun run = copyWith(tree.path(QStringLiteral("src")), dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(lstatOf(tree.path(QStringLiteral("shared/src/notes.txt"))).st_gid, own);
    EXPECT_EQ(lstatOf(tree.path(QStringLiteral("shared/src"))).st_gid, own);
}

TEST(TransferCopy, ACopyItsOwnModeLocksUsOutOfStillCompletes)
{
    TempTree tree;
    tree.openToEveryone();
    // Readable by others only: the copy, ours now, keeps a mode that keeps its owner out.
    const QString file = tree.file(QStringLiteral("notes.txt"), "n");
    ASSERT_EQ(::chmod(native(file).constData(), 0044), 0);
    const QString dest = tree.folder(QStringLiteral("dest"));
    ::chmod(native(dest).constData(), 0777);
    const int status = runAsNobody([&] {
        const CopyRun run = copyWith(file, dest);
        if (run.error) return 2;
        return (lstatOf(childPath(dest, QStringLiteral("notes.txt"))).st_mode & 07777) == 0044 ? 0
                                                                                               : 3;
    });
    if (status == -1) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    EXPECT_EQ(status, 0);
}

TEST(TransferCopy, ASourceChangingOrVanishingMidCopyFailsAndLeavesNothing)
{
    TempTree tree;
    const QString source = tree.file(QStringLiteral("growing.log"), QByteArray(3 * kMiB, 'g'));
    const QString dest = tree.folder(QStringLiteral("dest"));

    CopyRun run = copyWith(source, dest, [&](const CopyProgress& p) {
        if (p.bytes == 0) return;
        QFile file(source);
        if (file.open(QIODevice::Append)) file.write("more");
    });
    EXPECT_EQ(codeOf(run), FileError::Code::FileReadUnknown);
    EXPECT_TRUE(entriesOf(dest).isEmpty());

    // Touched without changing size.
    tree.file(QStringLiteral("growing.log"), QByteArray(3 * kMiB, 'g'));
    run = copyWith(source, dest, [&](const CopyProgress& p) {
        if (p.bytes > 0) setTimes(source, {1, 0}, {2, 0});
    });
    EXPECT_EQ(codeOf(run), FileError::Code::FileReadUnknown);
    EXPECT_TRUE(entriesOf(dest).isEmpty());

    // Deleted while being read: the system's own reason, nothing left.
    tree.file(QStringLiteral("growing.log"), QByteArray(3 * kMiB, 'g'));
    run = copyWith(source, dest, [&](const CopyProgress& p) {
        if (p.bytes > 0) QFile::remove(source);
    });
    ASSERT_TRUE(run.error.has_value());
    EXPECT_EQ(run.error->systemError(), ENOENT);
    EXPECT_TRUE(run.error->message().contains(QString::fromLocal8Bit(std::strerror(ENOENT))));
    EXPECT_TRUE(entriesOf(dest).isEmpty());

    run = copyWith(tree.path(QStringLiteral("never-was")), dest);
    ASSERT_TRUE(run.error.has_value());
    EXPECT_EQ(run.error->systemError(), ENOENT);
    run = copyWith(tree.path(QStringLiteral("growing.log")), tree.path(QStringLiteral("no-dest")));
    ASSERT_TRUE(run.error.has_value());
}

TEST(TransferCopy, FilesChangedAfterTheListingAreCopiedAsTheyAreAtTheirTurn)
{
    TempTree tree;
    tree.file(QStringLiteral("src/n1"), QByteArray(2 * kMiB, '1'));
    for (int i = 2; i <= 6; ++i)
        tree.file(QStringLiteral("src/n%1").arg(i), QByteArray(1000, char('0' + i)));
    const QString dest = tree.folder(QStringLiteral("dest"));
    const QString grown = tree.path(QStringLiteral("src/n6"));
    const QString touched = tree.path(QStringLiteral("src/n5"));

    // The first report comes after the listing and before any file's turn.
    const CopyRun run =
        copyWith(tree.path(QStringLiteral("src")), dest, [&](const CopyProgress& p) {
            if (p.bytes != 0) return;
            QFile file(grown);
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write(QByteArray(5000, '+'));
            file.close();
            setTimes(touched, {1300000000, 0}, {1300000000, 0});
        });
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(contentsOf(tree.path(QStringLiteral("dest/src/n6"))),
              QByteArray(1000, '6') + QByteArray(5000, '+'));
    EXPECT_TRUE(
        sameTime(lstatOf(tree.path(QStringLiteral("dest/src/n5"))).st_mtim, {1300000000, 0}));
    const qint64 listed = 2 * kMiB + 5 * 1000;
    for (const CopyProgress& p : run.reports) {
        EXPECT_EQ(p.total, listed);
        EXPECT_LE(p.bytes, p.total) << "the bar never runs past its end";
    }
    EXPECT_EQ(run.reports.back(), (CopyProgress{listed, listed}));
}

TEST(TransferCopy, SparseFilesKeepTheirHoles)
{
    TempTree tree;
    constexpr qint64 size = 16 * kMiB;
    const QByteArray data(4096, 'd');
    // A hole, 4 KB of data, a hole to the end; and one with data at both ends.
    auto makeSparse = [&](const QString& relative, const QList<qint64>& at) {
        const QString path = tree.file(relative);
        const int fd = ::open(native(path).constData(), O_WRONLY);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::ftruncate(fd, size), 0);
        for (qint64 offset : at)
            EXPECT_EQ(::pwrite(fd, data.constData(), size_t(data.size()), offset), data.size());
        ::close(fd);
        return path;
    };
    const QString middle = makeSparse(QStringLiteral("disk.img"), {8 * kMiB});
    makeSparse(QStringLiteral("images/ends.img"), {0, size - 4096});
    makeSparse(QStringLiteral("images/empty.img"), {});
    if (lstatOf(middle).st_blocks * 512 >= size)
        GTEST_SKIP() << "the temporary folder's file system has no holes";
    const QString dest = tree.folder(QStringLiteral("dest"));

    CopyRun run = copyWith(middle, dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(run.reports.back(), (CopyProgress{size, size}));
    run = copyWith(tree.path(QStringLiteral("images")), dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    for (const char* name : {"disk.img", "images/ends.img", "images/empty.img"}) {
        const QString from = tree.path(QString::fromUtf8(name));
        const QString to = childPath(dest, QString::fromUtf8(name));
        const struct stat source = lstatOf(from);
        const struct stat copied = lstatOf(to);
        EXPECT_EQ(copied.st_size, size) << name;
        EXPECT_LE(copied.st_blocks, source.st_blocks) << name;
        EXPECT_EQ(contentsOf(to), contentsOf(from)) << name;
    }
}

TEST(TransferCopy, HardLinksInsideTheTreeStayHardLinks)
{
    TempTree tree;
    const QByteArray body(100000, 'h');
    const QString first = tree.file(QStringLiteral("src/a.raw"), body);
    tree.folder(QStringLiteral("src/sub"));
    ASSERT_EQ(::link(native(first).constData(),
                     native(tree.path(QStringLiteral("src/sub/b.raw"))).constData()),
              0);
    tree.file(QStringLiteral("src/c.raw"), body); // equal, but a file of its own
    // Linked to a file outside the tree: nothing to keep it linked to.
    const QString outside = tree.file(QStringLiteral("outside.raw"), "out");
    ASSERT_EQ(::link(native(outside).constData(),
                     native(tree.path(QStringLiteral("src/x.raw"))).constData()),
              0);
    const QString dest = tree.folder(QStringLiteral("dest"));

    const CopyRun run = copyWith(tree.path(QStringLiteral("src")), dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    const struct stat a = lstatOf(tree.path(QStringLiteral("dest/src/a.raw")));
    const struct stat b = lstatOf(tree.path(QStringLiteral("dest/src/sub/b.raw")));
    const struct stat c = lstatOf(tree.path(QStringLiteral("dest/src/c.raw")));
    EXPECT_EQ(a.st_ino, b.st_ino);
    EXPECT_EQ(a.st_nlink, 2u);
    EXPECT_NE(a.st_ino, c.st_ino);
    EXPECT_EQ(lstatOf(tree.path(QStringLiteral("dest/src/x.raw"))).st_nlink, 1u);
    EXPECT_EQ(contentsOf(tree.path(QStringLiteral("dest/src/sub/b.raw"))), body);
    EXPECT_EQ(a.st_mtim.tv_sec, lstatOf(first).st_mtim.tv_sec);
    // The linked file's data is counted and written once.
    EXPECT_EQ(run.reports.back(), (CopyProgress{2 * 100000 + 3, 2 * 100000 + 3}));
}

namespace {

// A copy in a child process that holds still once its first data is written,
// until it is killed; returns its pid once it holds.
pid_t copyThatHolds(const QString& source, const QString& folder)
{
    int ready[2];
    if (::pipe(ready) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ready[0]);
        try {
            TransferService::copy(source, folder,
                                  [&](const CopyProgress& p) {
                                      if (p.bytes == 0) return;
                                      (void)!::write(ready[1], "r", 1);
                                      for (;;)
                                          ::pause();
                                  },
                                  {});
        } catch (...) {
        }
        ::_exit(1);
    }
    ::close(ready[1]);
    char byte = 0;
    const bool holds = ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
    return holds ? child : -1;
}

void killAndReap(pid_t child)
{
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
}

} // namespace

TEST(TransferCopy, AKilledCopysTemporaryItemGoesWhileRunningOnesStay)
{
    TempTree tree;
    tree.file(QStringLiteral("album/big.bin"), QByteArray(4 * kMiB, 'k'));
    tree.file(QStringLiteral("album/sub/more"), "m");
    const QString single = tree.file(QStringLiteral("single.bin"), QByteArray(4 * kMiB, 's'));
    const QString small = tree.file(QStringLiteral("small.txt"), "s");
    const QString dest = tree.folder(QStringLiteral("dest"));

    const pid_t killed = copyThatHolds(tree.path(QStringLiteral("album")), dest);
    ASSERT_GT(killed, 0);
    const pid_t running = copyThatHolds(single, dest);
    ASSERT_GT(running, 0);
    EXPECT_EQ(partialCopiesIn(dest).size(), 2);
    killAndReap(killed);

    // The next copy into the folder takes away only the dead copy's item.
    CopyRun run = copyWith(small, dest);
    ASSERT_FALSE(run.error.has_value()) << run.error->message().toStdString();
    EXPECT_EQ(partialCopiesIn(dest).size(), 1);
    TransferService::removeStaleTemporaryItems(dest);
    EXPECT_EQ(partialCopiesIn(dest).size(), 1) << "a running copy keeps its item";

    killAndReap(running);
    TransferService::removeStaleTemporaryItems(dest);
    EXPECT_TRUE(partialCopiesIn(dest).isEmpty());
    EXPECT_EQ(entriesOf(dest), QStringList{"small.txt"});
}

TEST(TransferCopy, CancelMidFileLeavesNoTemporaryItem)
{
    TempTree tree;
    tree.file(QStringLiteral("movie/part1.mkv"), QByteArray(4 * kMiB, 'm'));
    tree.file(QStringLiteral("movie/part2.mkv"), QByteArray(kMiB, 'm'));
    const QString dest = tree.folder(QStringLiteral("dest"));
    bool cancel = false;
    const CopyRun run = copyWith(
        tree.path(QStringLiteral("movie")), dest,
        [&](const CopyProgress& p) { cancel = cancel || p.bytes > 0; }, [&] { return cancel; });
    EXPECT_TRUE(run.cancelled);
    EXPECT_EQ(run.reports.size(), 2u);
    EXPECT_TRUE(entriesOf(dest).isEmpty());
}

TEST(TransferCopy, AFullFileSystemFailsAndLeavesNothing)
{
    TempTree tree;
    const QString small = tree.folder(QStringLiteral("small"));
    if (::mount("tmpfs", native(small).constData(), "tmpfs", 0, "size=1m,nr_inodes=64") != 0)
        GTEST_SKIP() << "can't mount a small tmpfs here: " << std::strerror(errno);
    struct Unmount {
        QByteArray path;
        ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
    } unmount{native(small)};

    tree.file(QStringLiteral("big.bin"), QByteArray(3 * kMiB, 'b'));
    CopyRun run = copyWith(tree.path(QStringLiteral("big.bin")), small);
    ASSERT_TRUE(run.error.has_value());
    EXPECT_EQ(run.error->systemError(), ENOSPC);
    EXPECT_TRUE(run.error->message().contains(QStringLiteral("big.bin")));
    EXPECT_TRUE(entriesOf(small).isEmpty());

    // Out of inodes in a tree of small files.
    for (int i = 0; i < 100; ++i)
        tree.file(QStringLiteral("many/f%1").arg(i), "x");
    run = copyWith(tree.path(QStringLiteral("many")), small);
    ASSERT_TRUE(run.error.has_value());
    EXPECT_EQ(run.error->systemError(), ENOSPC);
    EXPECT_TRUE(entriesOf(small).isEmpty());

    // The same file system still takes what fits.
    tree.file(QStringLiteral("fits.bin"), QByteArray(100000, 'f'));
    run = copyWith(tree.path(QStringLiteral("fits.bin")), small);
    EXPECT_FALSE(run.error.has_value());
    EXPECT_EQ(entriesOf(small), QStringList{"fits.bin"});
}

TEST(TransferService, RunsCopiesInOrderOffTheCallersThread)
{
    TempTree tree;
    tree.file(QStringLiteral("a.txt"), "a");
    tree.file(QStringLiteral("b.txt"), "b");
    const QString dest = tree.folder(QStringLiteral("dest"));
    TransferService service;
    const auto caller = std::this_thread::get_id();
    std::atomic<bool> offThread{true};
    auto progress = [&](const CopyProgress&) {
        if (std::this_thread::get_id() == caller) offThread = false;
    };
    QFuture<void> first = service.start(tree.path(QStringLiteral("a.txt")), dest, progress, {});
    QFuture<void> again = service.start(tree.path(QStringLiteral("a.txt")), dest, progress, {});
    QFuture<void> cancelled =
        service.start(tree.path(QStringLiteral("b.txt")), dest, progress, [] { return true; });
    first.waitForFinished();
    EXPECT_THROW(again.waitForFinished(), FileError);
    cancelled.waitForFinished();
    EXPECT_TRUE(cancelled.isCanceled());
    EXPECT_TRUE(offThread);
    EXPECT_EQ(entriesOf(dest), QStringList{"a.txt"});
}
