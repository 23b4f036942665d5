#include "distant_past.h"
#include "file_entry.h"
#include "file_error.h"
#include "library_result.h"
#include "storage_report.h"
#include "test_support.h"

#include <QFile>
#include <cerrno>
#include <gtest/gtest.h>

TEST(FileEntry, ClassifiesByRegistryThenTable)
{
    EXPECT_EQ(FileEntry::classify(QStringLiteral("jpg"), true), MediaKind::Other);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("jpg"), false), MediaKind::Image);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("mkv"), false), MediaKind::Video);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("flac"), false), MediaKind::Audio);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("pdf"), false), MediaKind::Document);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("txt"), false), MediaKind::Document);
    // Not in the type registry: the fixed table decides.
    EXPECT_EQ(FileEntry::classify(QStringLiteral("key"), false), MediaKind::Document);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("numbers"), false), MediaKind::Document);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("pages"), false), MediaKind::Document);
    EXPECT_EQ(FileEntry::classify(QString(), false), MediaKind::Other);
    EXPECT_EQ(FileEntry::classify(QStringLiteral("zzqq"), false), MediaKind::Other);
    // Same answer from many threads at once (the cache is shared).
    std::vector<std::thread> threads;
    std::atomic<int> wrong{0};
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i)
                if (FileEntry::classify(QStringLiteral("png"), false) != MediaKind::Image) ++wrong;
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(wrong, 0);
}

TEST(FileEntry, ExtensionsAndNames)
{
    EXPECT_EQ(extensionOf(u"Photo.JPG"), QStringLiteral("jpg"));
    EXPECT_EQ(extensionOf(u"archive.tar.GZ"), QStringLiteral("gz"));
    EXPECT_EQ(extensionOf(u".profile"), QString());
    EXPECT_EQ(extensionOf(u"noext"), QString());
    EXPECT_EQ(extensionOf(u"trailing."), QString());

    const FileEntry indexed =
        FileEntry::indexed(QStringLiteral("/a/b/Clip.MOV"), -5, distantPast(), false);
    EXPECT_EQ(indexed.name, QStringLiteral("Clip.MOV"));
    EXPECT_EQ(indexed.size, 0);
    EXPECT_EQ(indexed.mediaKind, MediaKind::Video);
    EXPECT_EQ(indexed.ext(), QStringLiteral("mov"));
    EXPECT_EQ(indexed.url().toString(), QStringLiteral("file:///a/b/Clip.MOV"));
    EXPECT_EQ(FileEntry::indexed(QStringLiteral("/x/shot.png"), 1, distantPast(), true).mediaKind,
              MediaKind::Other);
}

TEST(FileEntry, EqualityCoversEveryFieldIdentityIsThePath)
{
    const QDateTime date = QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC);
    const FileEntry a = FileEntry::indexed(QStringLiteral("/f/a.txt"), 10, date, false);
    FileEntry b = a;
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    b.size = 11;
    EXPECT_NE(a, b);
    EXPECT_NE(qHash(a), qHash(b));
    EXPECT_EQ(a.id(), b.id());
    b = a;
    b.modified = date.addMSecs(1);
    EXPECT_NE(a, b);
}

TEST(FileEntry, FromLiveFiles)
{
    TempTree tree;
    const QString photo = tree.file(QStringLiteral("Photo.JPG"), "12345");
    const FileEntry entry = FileEntry::fromPath(photo);
    EXPECT_EQ(entry.name, QStringLiteral("Photo.JPG"));
    EXPECT_EQ(entry.size, 5);
    EXPECT_FALSE(entry.isDirectory);
    EXPECT_EQ(entry.mediaKind, MediaKind::Image);
    EXPECT_LE(qAbs(entry.modified.secsTo(QDateTime::currentDateTimeUtc())), 60);

    const FileEntry folder = FileEntry::fromPath(tree.folder(QStringLiteral("album.jpg")));
    EXPECT_TRUE(folder.isDirectory);
    EXPECT_EQ(folder.size, 0);
    EXPECT_EQ(folder.mediaKind, MediaKind::Other);

    // A dangling link is still an item; a missing file is an error.
    ASSERT_TRUE(QFile::link(tree.path(QStringLiteral("gone")), tree.path(QStringLiteral("link"))));
    EXPECT_FALSE(FileEntry::fromPath(tree.path(QStringLiteral("link"))).isDirectory);
    try {
        FileEntry::fromPath(tree.path(QStringLiteral("missing.png")));
        FAIL() << "no error for a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.code(), FileError::Code::System);
        EXPECT_EQ(error.systemError(), ENOENT);
        EXPECT_TRUE(error.message().contains(QStringLiteral("missing.png")));
    }
}

TEST(Records, ReportsAndRawValues)
{
    const StorageReport empty({}, 3);
    EXPECT_EQ(empty.total, 0);
    EXPECT_EQ(empty.inaccessible, 3);
    const QDateTime date = distantPast();
    const StorageReport two({FileEntry::indexed(QStringLiteral("/a"), 5, date, false),
                             FileEntry::indexed(QStringLiteral("/b"), 7, date, false)},
                            0);
    EXPECT_EQ(two.total, 12);
    EXPECT_EQ(LibraryResult::empty().formats, QStringList{QStringLiteral("All formats")});
    EXPECT_TRUE(LibraryResult::empty().files.isEmpty());
    EXPECT_EQ(LibraryResult::empty().totalBytes, 0);

    for (MediaKind kind : allCases<MediaKind>())
        EXPECT_EQ(fromRawValue<MediaKind>(rawValue(kind)), kind);
    EXPECT_EQ(rawValue(MediaKind::Document), QStringLiteral("document"));
    EXPECT_FALSE(fromRawValue<MediaKind>(u"Image").has_value());
    EXPECT_LT(distantPast(), QDateTime::fromMSecsSinceEpoch(-62000000000000LL, Qt::UTC));
}
