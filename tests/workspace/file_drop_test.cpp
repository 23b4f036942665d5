// What a drop of files does, decided from its URLs, the keys held and the
// file systems involved.
#include "scratch_mount.h"
#include "test_support.h"
#include "workspace/file_drop.h"
#include "workspace/file_url_mime.h"

#include <QDir>
#include <QMimeData>
#include <gtest/gtest.h>

TEST(FileDrop, ReadsUriListsAndGnomePayloadsAndSortsOutForeignUrls)
{
    QMimeData nothing;
    nothing.setText(QStringLiteral("/etc/hostname"));
    EXPECT_FALSE(FileDrop::from(&nothing));

    QMimeData uris;
    uris.setData(QStringLiteral("text/uri-list"),
                 "file:///tmp/a%20b.txt\r\nfile://localhost/tmp/c\r\nfile:relative\r\n"
                 "file://elsewhere/etc/x\r\nhttps://example.org/y\r\n");
    const std::optional<FileDrop> drop = FileDrop::from(&uris);
    ASSERT_TRUE(drop);
    EXPECT_EQ(drop->localPaths(), (QStringList{"/tmp/a b.txt", "/tmp/c"}));
    EXPECT_EQ(drop->foreignUrls(),
              (QStringList{"file:relative", "file://elsewhere/etc/x", "https://example.org/y"}));

    std::unique_ptr<QMimeData> cut(fileUrlsMimeData({QUrl::fromLocalFile("/tmp/a")}, true));
    cut->setUrls({}); // only the GNOME payload
    const std::optional<FileDrop> gnome = FileDrop::from(cut.get());
    ASSERT_TRUE(gnome);
    EXPECT_EQ(gnome->localPaths(), QStringList{"/tmp/a"});
    // Marked as cut: a move even where a copy would be the rule.
    EXPECT_EQ(gnome->kindInto(QStringLiteral("/nonexistent"), {}), TransferKind::Move);
    EXPECT_EQ(gnome->kindInto(QStringLiteral("/nonexistent"), Qt::ControlModifier),
              TransferKind::Copy);
}

TEST(FileDrop, MovesOnOneFileSystemCopiesAcrossAndTheKeysDecideFirst)
{
    TempTree tree;
    const QString near = tree.file("src/near.txt", "n");
    const QString dest = tree.folder("dest");
    const FileDrop drop({QUrl::fromLocalFile(near)});
    EXPECT_EQ(drop.kindInto(dest, {}), TransferKind::Move);
    EXPECT_EQ(drop.kindInto(dest, Qt::ControlModifier), TransferKind::Copy);
    EXPECT_EQ(drop.kindInto(dest, Qt::ShiftModifier), TransferKind::Move);

    // Where it is already, or onto itself, a drop does nothing.
    EXPECT_TRUE(drop.fitsInto(dest));
    EXPECT_FALSE(drop.fitsInto(tree.path("src")));
    EXPECT_FALSE(drop.fitsInto(tree.path("src/") + "/"));
    EXPECT_FALSE(FileDrop({QUrl::fromLocalFile(dest)}).fitsInto(dest));
    // Foreign URLs alone are taken, so the refusal can be told.
    EXPECT_TRUE(FileDrop({QUrl(QStringLiteral("https://example.org/y"))}).fitsInto(dest));

    const QString mountPoint = tree.folder("scratch");
    ScratchMount scratch(mountPoint);
    if (!scratch.mounted()) GTEST_SKIP() << "no second file system can be mounted here";
    const QString far = tree.file("scratch/far.txt", "f");
    EXPECT_EQ(FileDrop({QUrl::fromLocalFile(far)}).kindInto(dest, {}), TransferKind::Copy);
    EXPECT_EQ(FileDrop({QUrl::fromLocalFile(far)}).kindInto(dest, Qt::ShiftModifier),
              TransferKind::Move);
    // One item from elsewhere makes the whole drop a copy.
    EXPECT_EQ(FileDrop({QUrl::fromLocalFile(near), QUrl::fromLocalFile(far)}).kindInto(dest, {}),
              TransferKind::Copy);
}
