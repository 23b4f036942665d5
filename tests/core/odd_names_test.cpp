#include "duplicate_finder.h"
#include "file_operations.h"
#include "largest_files.h"
#include "media_metadata_reader.h"
#include "native_path.h"
#include "test_support.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A temporary folder whose items are named by bytes. Removed with rm -rf:
// Qt's own removal can't name what isn't UTF-8 or lies deeper than PATH_MAX.
class RawTree {
public:
    RawTree() : root_(nativePath(tree_.root())) {}
    ~RawTree() { QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), tree_.root()}); }
    QString root() const { return tree_.root(); }
    QByteArray native(const QByteArray& relative) const { return root_ + '/' + relative; }
    QString path(const QByteArray& relative) const { return decodePath(native(relative)); }
    QString file(const QByteArray& relative, const QByteArray& contents)
    {
        const int fd = ::open(native(relative).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        EXPECT_GE(fd, 0) << relative.toHex().constData();
        EXPECT_EQ(::write(fd, contents.constData(), size_t(contents.size())),
                  ssize_t(contents.size()));
        ::close(fd);
        return path(relative);
    }
    bool exists(const QByteArray& relative) const
    {
        struct stat st;
        return ::lstat(native(relative).constData(), &st) == 0;
    }
    bool isLink(const QByteArray& relative) const
    {
        struct stat st;
        return ::lstat(native(relative).constData(), &st) == 0 && S_ISLNK(st.st_mode);
    }

private:
    TempTree tree_;
    QByteArray root_;
};

QByteArray png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(NativePath, DecodesAnyBytesLosslessly)
{
    const QList<QByteArray> samples{"plain",
                                    "caf\xc3\xa9",
                                    "\xff",
                                    "a\xfe\xff",
                                    "\xc3",
                                    "\xe2\x82",
                                    "\xc0\xaf",
                                    "\xed\xa0\x80",
                                    "\xf4\x90\x80\x80",
                                    "\xf0\x9f\x98\x80",
                                    "\x80x\xbf",
                                    "mixed\xc3\xa9\xff\xf0\x9f\x98\x80"};
    for (const QByteArray& bytes : samples) {
        const QString decoded = decodePath(bytes);
        EXPECT_EQ(nativePath(decoded), bytes) << bytes.toHex().constData();
        EXPECT_EQ(hasUndecodableBytes(decoded), !QByteArrayView(bytes).isValidUtf8())
            << bytes.toHex().constData();
        EXPECT_EQ(pathForUrl(urlForPath(u'/' + decoded)), u'/' + decoded)
            << bytes.toHex().constData();
    }
    // Valid text reads as itself; an undecodable byte shows as U+FFFD.
    EXPECT_EQ(decodePath("caf\xc3\xa9"), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(readablePath(decodePath("a\xff")), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(urlForPath(decodePath("/x/a\xff")).toEncoded(), QByteArray("file:///x/a%FF"));
}

TEST(OddNames, EveryOperationKeepsTheBytesOfNamesThatAreNotUtf8)
{
    RawTree tree;
    ScopedEnv dataHome("XDG_DATA_HOME", tree.native("data"));
    ::mkdir(tree.native("dup").constData(), 0755);
    tree.file("dup/a\xff", "same contents");
    tree.file("dup/b\xfe", "same contents");
    tree.file("dup/c", "same contents");
    tree.file("dup/d", "same contents");

    // Listed with the exact bytes, readable and found as one group of four.
    const QList<FileEntry> listed = FileOperations::contents(tree.path("dup"), false);
    ASSERT_EQ(listed.size(), 4);
    EXPECT_EQ(nativePath(listed[0].path), tree.native("dup/a\xff"));
    EXPECT_EQ(FileEntry::fromPath(listed[0].path).size, 13);
    EXPECT_EQ(FileEntry::fromUrl(listed[0].url()).path, listed[0].path);
    const StorageReport scanned = FileOperations::scan(tree.path("dup"));
    EXPECT_EQ(scanned.files.size(), 4);
    const DuplicateReport duplicates = DuplicateFinder().report(scanned.files);
    ASSERT_EQ(duplicates.groups.size(), 1);
    EXPECT_EQ(duplicates.groups[0].size(), 4);
    EXPECT_EQ(duplicates.skipped, 0);
    EXPECT_EQ(LargestFiles::find({tree.path("dup")}, 10).size(), 4);

    // Renamed, made, copied and trashed by their bytes.
    FileOperations::rename(tree.path("dup/a\xff"), decodePath("renamed\xfd"));
    EXPECT_TRUE(tree.exists("dup/renamed\xfd"));
    EXPECT_FALSE(tree.exists("dup/a\xff"));
    FileOperations::createFolder(tree.path("dup"), decodePath("new\xfc"));
    EXPECT_TRUE(tree.exists("dup/new\xfc"));
    FileOperations::copy(tree.path("dup/b\xfe"), tree.path("dup/new\xfc"));
    EXPECT_TRUE(tree.exists("dup/new\xfc/b\xfe"));
    FileOperations::trash({tree.path("dup/b\xfe")});
    EXPECT_FALSE(tree.exists("dup/b\xfe"));
    EXPECT_TRUE(tree.exists("data/Trash/files/b\xfe"));

    // Media properties are read through the exact name too.
    const FileEntry picture = FileEntry::fromPath(tree.file("photo\xff.png", png(30, 20)));
    const MediaMetadata metadata = MediaMetadataReader::readNow(picture);
    EXPECT_EQ(metadata.width, 30);
    EXPECT_EQ(metadata.height, 20);
}

TEST(OddNames, LinksThatLeadNowhereAreListedAndTrashedAsThemselves)
{
    RawTree tree;
    ScopedEnv dataHome("XDG_DATA_HOME", tree.native("data"));
    ::mkdir(tree.native("box").constData(), 0755);
    ASSERT_EQ(::symlink("loop-b", tree.native("box/loop-a").constData()), 0);
    ASSERT_EQ(::symlink("loop-a", tree.native("box/loop-b").constData()), 0);
    ASSERT_EQ(::symlink("gone", tree.native("box/dangling").constData()), 0);

    const QList<FileEntry> listed = FileOperations::contents(tree.path("box"), false);
    EXPECT_EQ(namesOf(listed), (QStringList{QStringLiteral("dangling"), QStringLiteral("loop-a"),
                                            QStringLiteral("loop-b")}));
    EXPECT_EQ(FileEntry::fromPath(tree.path("box/loop-a")).name, QStringLiteral("loop-a"));

    FileOperations::trash({tree.path("box/dangling"), tree.path("box/loop-a")});
    EXPECT_FALSE(tree.exists("box/dangling"));
    EXPECT_FALSE(tree.exists("box/loop-a"));
    EXPECT_TRUE(tree.isLink("data/Trash/files/dangling"));
    EXPECT_TRUE(tree.isLink("data/Trash/files/loop-a"));

    // A link to a folder on another file system goes in as the link itself.
    struct stat here, shm;
    if (::stat(tree.native("").constData(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system to link to";
    ASSERT_EQ(::symlink("/dev/shm", tree.native("box/elsewhere").constData()), 0);
    FileOperations::trash({tree.path("box/elsewhere")});
    EXPECT_FALSE(tree.exists("box/elsewhere"));
    EXPECT_TRUE(tree.isLink("data/Trash/files/elsewhere"));
    struct stat after;
    EXPECT_EQ(::stat("/dev/shm", &after), 0);
}

TEST(OddNames, TreesDeeperThanPathMaxAreWalkedWhole)
{
    RawTree tree;
    // 24 levels of 200-byte names: the deepest paths pass 4,096 bytes.
    const QByteArray level(200, 'd');
    QByteArray relative = "deep";
    ASSERT_EQ(::mkdir(tree.native(relative).constData(), 0755), 0);
    int fd = ::open(tree.native(relative).constData(), O_RDONLY | O_DIRECTORY);
    int files = 0;
    for (int depth = 0; depth < 24; ++depth) {
        const int file = ::openat(fd, "file.bin", O_WRONLY | O_CREAT, 0644);
        ASSERT_EQ(::write(file, "0123456789", 10), 10);
        ::close(file);
        ++files;
        ASSERT_EQ(::mkdirat(fd, level.constData(), 0755), 0);
        const int next = ::openat(fd, level.constData(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        relative += '/' + level;
    }
    const int last = ::openat(fd, "last.bin", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(last, "01234567890", 11), 11);
    ::close(last);
    ::close(fd);
    ++files;
    ASSERT_GT(relative.size() + tree.native("").size(), 4096);

    const StorageReport report = FileOperations::scan(tree.path("deep"));
    EXPECT_EQ(report.files.size(), files);
    EXPECT_EQ(report.inaccessible, 0);
    EXPECT_EQ(report.total, 10 * (files - 1) + 11);
    const QList<FileEntry> largest = LargestFiles::find({tree.path("deep")}, 100);
    ASSERT_EQ(largest.size(), files);
    EXPECT_EQ(nativePath(largest[0].path), tree.native(relative + "/last.bin"));
    // The finder opens files by path: the ones out of reach are counted, not dropped.
    const DuplicateReport duplicates = DuplicateFinder().report(report.files);
    qsizetype grouped = 0;
    for (const auto& group : duplicates.groups)
        grouped += group.size();
    EXPECT_EQ(grouped + duplicates.skipped, files - 1);
}
