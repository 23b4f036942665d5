#include "media/file_thumbnail_generator.h"
#include "media/media_fixtures.h"
#include "media/scaled_image.h"
#include "media/text_extractor.h"
#include "native_path.h"
#include "test_support.h"

#include <QProcess>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// Gives a file made under a plain name a name that isn't UTF-8.
QString renamedToBytes(const QString& plain, const QByteArray& name)
{
    const QByteArray target = nativePath(plain).left(nativePath(plain).lastIndexOf('/') + 1) + name;
    EXPECT_EQ(std::rename(nativePath(plain).constData(), target.constData()), 0);
    return decodePath(target);
}

} // namespace

TEST(OddNameMedia, PicturesAndPdfsWithNamesThatAreNotUtf8OpenAndShow)
{
    TempTree tree;
    const struct Cleanup {
        QString root;
        ~Cleanup() { QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), root}); }
    } cleanup{tree.root()};

    const QString plainPicture = tree.path(QStringLiteral("plain.png"));
    savePicture(halvesPicture(80, 40, Qt::red, Qt::blue), plainPicture);
    const QString picture = renamedToBytes(plainPicture, "photo\xff.png");
    const QString plainPdf = tree.path(QStringLiteral("plain.pdf"));
    makePdf(plainPdf, {QStringLiteral("Invoice number 4711")});
    const QString pdf = renamedToBytes(plainPdf, "letter\xfe.pdf");

    // The preview's reader, the tile's thumbnail and the text reader all find the files.
    const QImage preview = readScaledImage(picture, 40);
    EXPECT_EQ(preview.size(), QSize(40, 20));
    FreedesktopThumbnails shared{tree.path(QStringLiteral("cache/thumbnails"))};
    FileThumbnailGenerator generator{shared};
    const auto never = [] { return false; };
    EXPECT_EQ(generator.make(FileEntry::fromPath(picture), 64, never).size(), QSize(64, 32));
    EXPECT_FALSE(generator.make(FileEntry::fromPath(pdf), 64, never).isNull());
    EXPECT_TRUE(TextExtractor::readNow(pdf, never).contains(QStringLiteral("4711")));
    // A name that leads nowhere opens nothing, not a file of a similar name.
    EXPECT_TRUE(OpenablePath(decodePath(nativePath(tree.root()) + "/gone\xff")).name().isEmpty());
}
