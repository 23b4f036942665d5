#include "file_operations.h"
#include "scratch_mount.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

FileError::Code codeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const FileError& error) {
        return error.code();
    }
    ADD_FAILURE() << "no error";
    return FileError::Code::System;
}

} // namespace

TEST(Contents, FoldersFirstNaturalOrderHiddenItems)
{
    TempTree tree;
    for (const char* name : {"b", "a10", "a2", "B2", ".dot", "listed", "Zeta.txt"})
        tree.file(QString::fromUtf8(name));
    tree.folder(QStringLiteral("A"));
    tree.folder(QStringLiteral("z-folder"));
    tree.file(QStringLiteral(".hidden"), "listed\n");

    const QList<FileEntry> shown = FileOperations::contents(tree.root(), false);
    EXPECT_EQ(namesOf(shown), (QStringList{"A", "z-folder", "a2", "a10", "b", "B2", "Zeta.txt"}));
    EXPECT_EQ(shown.first().path, tree.path(QStringLiteral("A")));

    const QStringList all = namesOf(FileOperations::contents(tree.root(), true));
    EXPECT_TRUE(all.contains(QStringLiteral(".dot")));
    EXPECT_TRUE(all.contains(QStringLiteral("listed")));
    EXPECT_TRUE(all.contains(QStringLiteral(".hidden")));
    EXPECT_EQ(all.size(), 10);

    // Names that collate equal keep the order the folder gave them: just check it's stable
    // against a second listing.
    EXPECT_EQ(namesOf(FileOperations::contents(tree.root(), true)), all);

    EXPECT_THROW(FileOperations::contents(tree.path(QStringLiteral("nope")), false), FileError);
    EXPECT_THROW(FileOperations::contents(tree.path(QStringLiteral("b")), false), FileError);
}

TEST(Contents, LinksDescribeTheirTargets)
{
    TempTree tree;
    tree.folder(QStringLiteral("real"));
    ASSERT_TRUE(
        QFile::link(tree.path(QStringLiteral("real")), tree.path(QStringLiteral("to-real"))));
    ASSERT_TRUE(
        QFile::link(tree.path(QStringLiteral("nowhere")), tree.path(QStringLiteral("dead"))));
    const QList<FileEntry> entries = FileOperations::contents(tree.root(), false);
    EXPECT_EQ(namesOf(entries), (QStringList{"real", "to-real", "dead"}));
    EXPECT_TRUE(entries[1].isDirectory);
    EXPECT_FALSE(entries[2].isDirectory);
}

TEST(Contents, AHugeFolderStopsWhenNoLongerWanted)
{
    TempTree tree;
    for (int i = 0; i < 10000; ++i)
        tree.file(QStringLiteral("many/f%1").arg(i));
    const QString many = tree.path(QStringLiteral("many"));
    // Asked while the names are read, while they are looked at, and while the list is made.
    std::atomic<int> asked = 0;
    EXPECT_EQ(FileOperations::contents(many, false, [&] { return ++asked, false; }).size(), 10000);
    EXPECT_GE(asked.load(), 3 * (10000 / 4096));
    for (const int after : {1, 3, 6}) {
        std::atomic<int> calls = 0;
        EXPECT_THROW(FileOperations::contents(many, false, [&] { return ++calls >= after; }),
                     Cancelled)
            << after;
    }
}

TEST(Scan, CountsFilesNotFoldersSkipsHiddenAndLinks)
{
    TempTree tree;
    EXPECT_EQ(FileOperations::scan(tree.root()).files.size(), 0);
    EXPECT_EQ(FileOperations::scan(tree.root()).total, 0);

    tree.file(QStringLiteral("top.txt"), "1234");
    tree.file(QStringLiteral("sub/deeper/photo.png"), QByteArray(1000, 'x'));
    tree.file(QStringLiteral("sub/.secret"), "hidden");
    tree.file(QStringLiteral(".cache/blob"), QByteArray(5000, 'y'));
    tree.folder(QStringLiteral("empty"));
    // A link back up must not be followed (it would loop forever).
    ASSERT_TRUE(QFile::link(tree.root(), tree.path(QStringLiteral("sub/loop"))));

    const StorageReport report = FileOperations::scan(tree.root());
    QStringList found;
    for (const FileEntry& entry : report.files) {
        EXPECT_FALSE(entry.isDirectory);
        found.append(entry.path.mid(tree.root().size() + 1));
    }
    found.sort();
    EXPECT_EQ(found, (QStringList{"sub/deeper/photo.png", "sub/loop", "top.txt"}));
    EXPECT_EQ(report.inaccessible, 0);
    const qint64 linkSize =
        QFileInfo(tree.path(QStringLiteral("sub/loop"))).symLinkTarget().toUtf8().size();
    EXPECT_EQ(report.total, 1004 + linkSize);
}

TEST(Scan, CancelsAtTheNextItemAndReportsProgress)
{
    TempTree tree;
    for (int i = 0; i < 5000; ++i)
        tree.file(QStringLiteral("d%1/f%2").arg(i % 10).arg(i));
    int checks = 0;
    EXPECT_THROW(FileOperations::scan(tree.root(), [&] { return ++checks > 100; }), Cancelled);
    EXPECT_EQ(checks, 101);

    qint64 lastSeen = 0;
    const StorageReport report =
        FileOperations::scan(tree.root(), {}, [&](qint64 seen) { lastSeen = seen; });
    EXPECT_EQ(report.files.size(), 5000);
    EXPECT_EQ(lastSeen, 4096);
}

TEST(Scan, UnreadablePartsAsAnUnprivilegedUser)
{
    TempTree tree;
    tree.openToEveryone();
    tree.file(QStringLiteral("ok.txt"), "ok");
    tree.file(QStringLiteral("locked/inside.txt"), "x");
    tree.file(QStringLiteral("listonly/a"), "a");
    tree.file(QStringLiteral("listonly/b"), "b");
    for (const QString& dir :
         {tree.root(), tree.path(QStringLiteral("locked")), tree.path(QStringLiteral("listonly"))})
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    ::chmod(QFile::encodeName(tree.path(QStringLiteral("ok.txt"))).constData(), 0644);
    ::chmod(QFile::encodeName(tree.path(QStringLiteral("locked"))).constData(), 0700);
    // Names can be listed but not looked at.
    ::chmod(QFile::encodeName(tree.path(QStringLiteral("listonly"))).constData(), 0744);

    const QString root = tree.root();
    const int status = runAsNobody([&] {
        const StorageReport report = FileOperations::scan(root);
        if (report.files.size() != 1 || report.files.first().name != u"ok.txt") return 1;
        if (report.inaccessible != 2) return 2;
        try {
            FileOperations::scan(root + QStringLiteral("/locked"));
            return 3;
        } catch (const FileError& error) {
            return error.code() == FileError::Code::FileReadNoPermission ? 0 : 4;
        }
    });
    if (status == -1) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    EXPECT_EQ(status, 0);
}

TEST(Names, ValidationRules)
{
    TempTree tree;
    using Code = FileError::Code;
    for (const QString& bad : {QStringLiteral("   "), QStringLiteral("\n\t"), QString(),
                               QStringLiteral("a/b"), QStringLiteral("a:b"), QStringLiteral("."),
                               QStringLiteral(".."), QStringLiteral("a") + QChar(0) + u'b'}) {
        EXPECT_EQ(codeOf([&] { FileOperations::createFolder(tree.root(), bad); }),
                  Code::FileWriteInvalidFileName)
            << bad.toStdString();
    }
    tree.file(QStringLiteral("f"));
    EXPECT_EQ(codeOf([&] {
                  FileOperations::rename(tree.path(QStringLiteral("f")), QStringLiteral("x:y"));
              }),
              Code::FileWriteInvalidFileName);
    EXPECT_EQ(QDir(tree.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("f")});

    FileOperations::createFolder(tree.root(), QStringLiteral(" a "));
    EXPECT_TRUE(QFileInfo(tree.path(QStringLiteral(" a "))).isDir());
    FileOperations::createFolder(tree.root(), QStringLiteral("...three"));

    // Too long for the file system: the system's own error, nothing made.
    try {
        FileOperations::createFolder(tree.root(), QString(300, u'n'));
        FAIL();
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), Code::System);
        EXPECT_EQ(error.systemError(), ENAMETOOLONG);
    }
    EXPECT_EQ(codeOf([&] { FileOperations::createFolder(tree.root(), QStringLiteral(" a ")); }),
              Code::FileWriteFileExists);
}

TEST(Rename, NeverReplaces)
{
    TempTree tree;
    const QString a = tree.file(QStringLiteral("a.txt"), "A");
    const QString b = tree.file(QStringLiteral("b.txt"), "B");
    FileOperations::rename(a, QStringLiteral("a.txt"));
    EXPECT_TRUE(QFile::exists(a));

    EXPECT_EQ(codeOf([&] { FileOperations::rename(a, QStringLiteral("b.txt")); }),
              FileError::Code::FileWriteFileExists);
    QFile bf(b);
    ASSERT_TRUE(bf.open(QIODevice::ReadOnly));
    EXPECT_EQ(bf.readAll(), QByteArray("B"));
    EXPECT_TRUE(QFile::exists(a));

    // An item that appears at the target after any check is still not replaced:
    // the move itself refuses.
    const QString c = tree.file(QStringLiteral("c.txt"), "C");
    EXPECT_EQ(codeOf([&] { FileOperations::moveNoReplace(c, b); }),
              FileError::Code::FileWriteFileExists);
    tree.folder(QStringLiteral("dir"));
    EXPECT_EQ(codeOf([&] { FileOperations::rename(c, QStringLiteral("dir")); }),
              FileError::Code::FileWriteFileExists);

    FileOperations::rename(c, QStringLiteral("Ünïcode name.txt"));
    EXPECT_TRUE(QFile::exists(tree.path(QStringLiteral("Ünïcode name.txt"))));
    EXPECT_THROW(FileOperations::rename(tree.path(QStringLiteral("gone")), QStringLiteral("x")),
                 FileError);
}

TEST(Copy, BuildsUnderATemporaryNameAndNeverReplaces)
{
    TempTree tree;
    tree.file(QStringLiteral("src/album/one.jpg"), "one");
    tree.file(QStringLiteral("src/album/.hidden-file"), "h");
    tree.file(QStringLiteral("src/album/sub/two.jpg"), QByteArray(300000, 'z'));
    ASSERT_TRUE(
        QFile::link(QStringLiteral("one.jpg"), tree.path(QStringLiteral("src/album/link"))));
    ::chmod(QFile::encodeName(tree.path(QStringLiteral("src/album/one.jpg"))).constData(), 0640);
    const QString target = tree.folder(QStringLiteral("target"));

    FileOperations::copy(tree.path(QStringLiteral("src/album")), target);
    const QString copied = target + QStringLiteral("/album");
    QFile two(copied + QStringLiteral("/sub/two.jpg"));
    ASSERT_TRUE(two.open(QIODevice::ReadOnly));
    EXPECT_EQ(two.readAll(), QByteArray(300000, 'z'));
    EXPECT_TRUE(QFile::exists(copied + QStringLiteral("/.hidden-file")));
    EXPECT_EQ(QFileInfo(copied + QStringLiteral("/link")).symLinkTarget(),
              copied + QStringLiteral("/one.jpg"));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(copied + QStringLiteral("/one.jpg")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(partialCopiesIn(target).isEmpty());

    // Copying again: refused, the existing copy untouched.
    QFile::remove(copied + QStringLiteral("/one.jpg"));
    EXPECT_EQ(codeOf([&] { FileOperations::copy(tree.path(QStringLiteral("src/album")), target); }),
              FileError::Code::FileWriteFileExists);
    EXPECT_FALSE(QFile::exists(copied + QStringLiteral("/one.jpg")));
    EXPECT_TRUE(partialCopiesIn(target).isEmpty());

    EXPECT_THROW(FileOperations::copy(tree.path(QStringLiteral("missing")), target), FileError);
    EXPECT_TRUE(partialCopiesIn(target).isEmpty());
}

TEST(Copy, FailureLeavesNothingBehind)
{
    TempTree tree;
    tree.openToEveryone();
    tree.file(QStringLiteral("src/readable.txt"), "r");
    const QString secret = tree.file(QStringLiteral("src/zz-secret.txt"), "s");
    const QString target = tree.folder(QStringLiteral("target"));
    for (const QString& dir : {tree.root(), tree.path(QStringLiteral("src"))})
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    ::chmod(QFile::encodeName(tree.path(QStringLiteral("src/readable.txt"))).constData(), 0644);
    ::chmod(QFile::encodeName(secret).constData(), 0600);
    ::chmod(QFile::encodeName(target).constData(), 0777);
    const QString source = tree.path(QStringLiteral("src"));

    const int status = runAsNobody([&] {
        try {
            FileOperations::copy(source, target);
            return 1;
        } catch (const FileError& error) {
            if (error.systemError() != EACCES) return 2;
        }
        return QDir(target)
                       .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                       .isEmpty()
                   ? 0
                   : 3;
    });
    if (status == -1) GTEST_SKIP() << "needs root to switch to an unprivileged user";
    EXPECT_EQ(status, 0);
}

TEST(Trash, StopsAtTheFirstFailureAndNeverDeletes)
{
    TempTree tree;
    ScopedEnv dataHome("XDG_DATA_HOME", QFile::encodeName(tree.folder(QStringLiteral("data"))));
    const QString first = tree.file(QStringLiteral("first.txt"), "1");
    const QString missing = tree.path(QStringLiteral("second.txt"));
    const QString third = tree.file(QStringLiteral("third.txt"), "3");

    EXPECT_THROW(FileOperations::trash({first, missing, third}), FileError);
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(tree.path(QStringLiteral("data/Trash/files/first.txt"))));
    EXPECT_TRUE(QFile::exists(third));

    const QString folder = tree.file(QStringLiteral("folder/inside.txt"), "in");
    FileOperations::trash({tree.path(QStringLiteral("folder"))});
    EXPECT_TRUE(QFile::exists(tree.path(QStringLiteral("data/Trash/files/folder/inside.txt"))));
    EXPECT_FALSE(QFile::exists(folder));
}

TEST(Trash, AnItemNoTrashCanTakeStaysWhereItIs)
{
    TempTree tree;
    ScopedEnv dataHome("XDG_DATA_HOME", QFile::encodeName(tree.folder(QStringLiteral("data"))));
    ScratchMount mount(tree.folder(QStringLiteral("mnt")));
    if (!mount.mounted()) GTEST_SKIP() << "mounting a scratch file system is not permitted here";
    const QString item = tree.file(QStringLiteral("mnt/keep.txt"), "precious");
    ASSERT_TRUE(mount.makeReadOnly());

    EXPECT_THROW(FileOperations::trash({item}), FileError);
    QFile file(item);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("precious"));
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("data/Trash/files/keep.txt"))));
}
