#include "media/file_thumbnail_generator.h"
#include "media/media_fixtures.h"
#include "named_pipe.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <gtest/gtest.h>

namespace {

class FileThumbnailGeneratorTest : public testing::Test {
protected:
    TempTree tree;
    // An empty shared cache, so only the files themselves answer.
    FreedesktopThumbnails shared{tree.path(QStringLiteral("cache/thumbnails"))};
    FileThumbnailGenerator generator{shared};

    QImage make(const QString& path, int edge)
    {
        return generator.make(FileEntry::fromPath(path), edge, [] { return false; });
    }
};

quint32 crc32(const QByteArray& bytes)
{
    quint32 crc = 0xffffffffu;
    for (const char byte : bytes) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, 0);
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (24 - 8 * i));
    return bytes;
}

QByteArray pngChunk(const char* type, const QByteArray& data)
{
    const QByteArray body = QByteArray(type) + data;
    return bigEndian(quint32(data.size())) + body + bigEndian(crc32(body));
}

// A valid PNG header for an edge-by-edge RGB picture, followed by a few pixels.
QByteArray hugePng(quint32 edge)
{
    const QByteArray header = bigEndian(edge) + bigEndian(edge) + QByteArray("\x08\x02\0\0\0", 5);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + pngChunk("IHDR", header) +
           pngChunk("IDAT", qCompress(QByteArray(64, 0)).mid(4)) + pngChunk("IEND", {});
}

bool isRed(const QColor& c)
{
    return c.red() > 200 && c.green() < 60 && c.blue() < 60;
}
bool isBlue(const QColor& c)
{
    return c.blue() > 200 && c.red() < 60 && c.green() < 60;
}

TEST_F(FileThumbnailGeneratorTest, PicturesAreScaledDownUprightAndNeverEnlarged)
{
    // Landscape pixels stored with "turn 90 degrees clockwise to view": the
    // stored left half must end up on top.
    const QString turned = tree.path(QStringLiteral("turned.jpg"));
    savePicture(halvesPicture(640, 480, Qt::red, Qt::blue), turned);
    setExifOrientation(turned, 6);
    const QImage upright = make(turned, 256);
    ASSERT_EQ(upright.size(), QSize(192, 256));
    EXPECT_TRUE(isRed(meanColor(upright, QRect(20, 20, 150, 80))));
    EXPECT_TRUE(isBlue(meanColor(upright, QRect(20, 156, 150, 80))));

    const QString big = tree.path(QStringLiteral("big.jpg"));
    savePicture(halvesPicture(4000, 3000, Qt::red, Qt::blue), big);
    const QImage scaled = make(big, 320);
    EXPECT_EQ(scaled.size(), QSize(320, 240));
    EXPECT_TRUE(isRed(meanColor(scaled, QRect(10, 10, 100, 200))));
    EXPECT_TRUE(isBlue(meanColor(scaled, QRect(210, 10, 100, 200))));

    const QString small = tree.path(QStringLiteral("small.png"));
    savePicture(halvesPicture(100, 50, Qt::red, Qt::blue), small);
    EXPECT_EQ(make(small, 256).size(), QSize(100, 50));
}

TEST_F(FileThumbnailGeneratorTest, PalettePicturesScaleToTheirOwnColours)
{
    // ImageMagick stores a one-colour picture as a 1-bit palette PNG.
    const QString pink = tree.path(QStringLiteral("pink.png"));
    runConvert(
        {QStringLiteral("-size"), QStringLiteral("700x400"), QStringLiteral("xc:pink"), pink});
    ASSERT_EQ(QImageReader(pink).imageFormat(), QImage::Format_Mono);
    const QImage tile = make(pink, 256);
    ASSERT_EQ(tile.size(), QSize(256, 146));
    const QColor expected(255, 192, 203);
    for (const QPoint& at : {QPoint(0, 0), QPoint(128, 73), QPoint(255, 145), QPoint(40, 120)})
        EXPECT_EQ(tile.pixelColor(at).rgb(), expected.rgb()) << at.x() << "," << at.y();

    // A big palette picture of two colours keeps its halves.
    const QString halves = tree.path(QStringLiteral("halves.png"));
    QImage twoColours(3000, 1000, QImage::Format_Indexed8);
    twoColours.setColorTable({QColor(Qt::red).rgb(), QColor(Qt::blue).rgb()});
    for (int y = 0; y < twoColours.height(); ++y)
        for (int x = 0; x < twoColours.width(); ++x)
            twoColours.scanLine(y)[x] = x < twoColours.width() / 2 ? 0 : 1;
    ASSERT_TRUE(twoColours.save(halves));
    const QImage halvesTile = make(halves, 300);
    ASSERT_EQ(halvesTile.size(), QSize(300, 100));
    EXPECT_TRUE(isRed(meanColor(halvesTile, QRect(10, 10, 120, 80))));
    EXPECT_TRUE(isBlue(meanColor(halvesTile, QRect(170, 10, 120, 80))));
}

TEST_F(FileThumbnailGeneratorTest, HeifAndAvifPicturesAreDecoded)
{
    for (const QString& name : {QStringLiteral("phone.heic"), QStringLiteral("web.avif"),
                                QStringLiteral("renamed-heic.jpg")}) {
        const QString path = tree.path(name);
        saveHeif(halvesPicture(640, 480, Qt::red, Qt::blue), path);
        const QImage tile = make(path, 256);
        ASSERT_EQ(tile.size(), QSize(256, 192)) << qPrintable(name);
        EXPECT_TRUE(isRed(meanColor(tile, QRect(10, 10, 100, 170)))) << qPrintable(name);
        EXPECT_TRUE(isBlue(meanColor(tile, QRect(146, 10, 100, 170)))) << qPrintable(name);
    }
}

TEST_F(FileThumbnailGeneratorTest, CameraRawFilesShowTheirPreviewUpright)
{
    // The camera was held turned a quarter right: the 40 x 30 preview stands up.
    const QString turned = tree.path(QStringLiteral("IMG_0001.DNG"));
    makeDng(turned, {QStringLiteral("--orientation"), QStringLiteral("6")});
    const QImage preview = make(turned, 256);
    ASSERT_EQ(preview.size(), QSize(30, 40));
    EXPECT_TRUE(isRed(meanColor(preview, preview.rect())));
    EXPECT_EQ(make(turned, 20).size(), QSize(15, 20));

    // Without a preview the raw data is developed at half size.
    const QString bare = tree.path(QStringLiteral("bare.dng"));
    makeDng(bare, {QStringLiteral("--no-preview")});
    EXPECT_EQ(make(bare, 256).size(), QSize(40, 30));
    EXPECT_TRUE(make(tree.file(QStringLiteral("junk.nef"), QByteArray(4000, 'r')), 256).isNull());
}

TEST_F(FileThumbnailGeneratorTest, BrokenAndOversizedPicturesGiveNoPicture)
{
    // A header claiming 30,000 x 30,000 pixels: decoding it would need gigabytes.
    EXPECT_TRUE(make(tree.file(QStringLiteral("huge.png"), hugePng(30000)), 256).isNull());

    const QString whole = tree.path(QStringLiteral("whole.jpg"));
    savePicture(halvesPicture(800, 600, Qt::red, Qt::blue), whole);
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QImage truncated =
        make(tree.file(QStringLiteral("truncated.jpg"), bytes.left(bytes.size() / 3)), 256);
    EXPECT_LE(std::max(truncated.width(), truncated.height()), 256);
    EXPECT_TRUE(make(tree.file(QStringLiteral("noise.jpg"), QByteArray(5000, 'x')), 256).isNull());
    EXPECT_TRUE(make(tree.file(QStringLiteral("empty.png")), 256).isNull());

    // What the views show then is the type's icon, at the size asked for.
    const FileEntry noise = FileEntry::fromPath(tree.path(QStringLiteral("noise.jpg")));
    EXPECT_EQ(generator.fallback(noise, generator.fallbackIcons(noise), 96).size(), QSize(96, 96));
}

TEST_F(FileThumbnailGeneratorTest, VideosGiveOneFrameNearATenthOfTheirLength)
{
    // Black for the first 0.1 s, then white: a tenth of 2 s is past the change,
    // although the only key frame is the first, black one.
    const QString clip = tree.path(QStringLiteral("clip.mp4"));
    runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
               QStringLiteral("color=black:size=320x240:rate=25:duration=0.1"),
               QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
               QStringLiteral("color=white:size=320x240:rate=25:duration=1.9"),
               QStringLiteral("-filter_complex"), QStringLiteral("[0][1]concat=n=2:v=1"),
               QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-g"),
               QStringLiteral("250"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), clip});
    const QImage frame = make(clip, 256);
    ASSERT_EQ(frame.size(), QSize(256, 192));
    EXPECT_GT(meanColor(frame, frame.rect()).lightness(), 200);

    // Stored landscape, shown turned a quarter clockwise.
    const QString source = tree.path(QStringLiteral("source.mp4"));
    runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
               QStringLiteral("testsrc=size=320x240:rate=25:duration=1"), QStringLiteral("-c:v"),
               QStringLiteral("libx264"), QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
               source});
    const QString portrait = tree.path(QStringLiteral("portrait.mp4"));
    runFfmpeg({QStringLiteral("-i"), source, QStringLiteral("-c"), QStringLiteral("copy"),
               QStringLiteral("-metadata:s:v:0"), QStringLiteral("rotate=270"), portrait});
    EXPECT_EQ(make(portrait, 256).size(), QSize(192, 256));

    // No video stream at all, and bytes that are no container.
    const QString sound = tree.path(QStringLiteral("sound.mp4"));
    runFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
               QStringLiteral("sine=duration=1"), QStringLiteral("-c:a"), QStringLiteral("aac"),
               sound});
    EXPECT_TRUE(make(sound, 256).isNull());
    EXPECT_TRUE(make(tree.file(QStringLiteral("noise.mp4"), QByteArray(20000, 'v')), 256).isNull());
    const QString cut = tree.file(QStringLiteral("cut.mp4"));
    QFile whole(clip), part(cut);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly) && part.open(QIODevice::WriteOnly));
    part.write(whole.read(whole.size() / 4));
    part.close();
    const QImage cutFrame = make(cut, 256);
    EXPECT_LE(std::max(cutFrame.width(), cutFrame.height()), 256);
}

TEST_F(FileThumbnailGeneratorTest, PdfsGiveTheirFirstPageUnlessLockedOrDamaged)
{
    const QString letter = tree.path(QStringLiteral("Letter.PDF"));
    makePdf(letter, {QStringLiteral("Invoice number 7"), QStringLiteral("The quick brown fox")});
    const QImage page = make(letter, 256);
    ASSERT_EQ(page.height(), 256);
    EXPECT_NEAR(page.width(), 198, 1); // 612 x 792 points
    // The text near the top left is drawn dark on the white page.
    const QImage gray = page.convertToFormat(QImage::Format_Grayscale8);
    int dark = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < page.width(); ++x)
            dark += gray.pixelColor(x, y).lightness() < 100;
    EXPECT_GT(dark, 20);
    EXPECT_GT(meanColor(page, QRect(0, 150, page.width(), 100)).lightness(), 250);

    const QString locked = tree.path(QStringLiteral("locked.pdf"));
    makePdf(locked, {QStringLiteral("Secret")}, {QStringLiteral("--locked")});
    EXPECT_TRUE(make(locked, 256).isNull());
    EXPECT_TRUE(make(tree.file(QStringLiteral("damaged.pdf"), "%PDF-1.4\nbroken"), 256).isNull());
}

TEST_F(FileThumbnailGeneratorTest, FreshSharedThumbnailIsUsedAndStaleOneIgnored)
{
    const QString photo = tree.path(QStringLiteral("photo.png"));
    savePicture(halvesPicture(600, 600, Qt::red, Qt::red), photo);
    const FileEntry entry = FileEntry::fromPath(photo);
    const auto store = [&](const QString& size, qint64 mtime, const QColor& color) {
        const QString path = shared.pathFor(photo, size);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(256, 256, QImage::Format_RGB32);
        image.fill(color);
        image.setText(QStringLiteral("Thumb::URI"), entry.url().toString());
        image.setText(QStringLiteral("Thumb::MTime"), QString::number(mtime));
        ASSERT_TRUE(image.save(path, "PNG"));
    };
    const qint64 mtime = entry.modified.toSecsSinceEpoch();
    const auto green = [](const QImage& image) {
        return !image.isNull() && image.pixelColor(5, 5).green() > 200 &&
               image.pixelColor(5, 5).red() < 50;
    };

    store(QStringLiteral("large"), mtime, Qt::green);
    const QImage hit = generator.make(entry, 200, [] { return false; });
    EXPECT_TRUE(green(hit));
    EXPECT_EQ(hit.size(), QSize(200, 200));
    // Bigger than the stored one: rendered from the file.
    EXPECT_TRUE(isRed(generator.make(entry, 400, [] { return false; }).pixelColor(5, 5)));

    store(QStringLiteral("large"), mtime - 10, Qt::green);
    EXPECT_TRUE(isRed(generator.make(entry, 200, [] { return false; }).pixelColor(5, 5)));
}

TEST_F(FileThumbnailGeneratorTest, PipesNamedLikeMediaAreNeverOpened)
{
    for (const QString& name :
         {QStringLiteral("photo.jpg"), QStringLiteral("clip.mp4"), QStringLiteral("letter.pdf")}) {
        const QString pipe = tree.path(name);
        ASSERT_TRUE(makeNamedPipe(pipe));
        QImage made(1, 1, QImage::Format_RGB32);
        EXPECT_TRUE(returnsBesidePipe(pipe, [&] { made = make(pipe, 128); })) << qPrintable(name);
        EXPECT_TRUE(made.isNull()) << qPrintable(name);
    }

    // Nor a pipe where the shared cache keeps a thumbnail.
    const QString photo = tree.path(QStringLiteral("photo.png"));
    savePicture(halvesPicture(300, 300, Qt::red, Qt::red), photo);
    const QString cached = shared.pathFor(photo, QStringLiteral("normal"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(cached).absolutePath()));
    ASSERT_TRUE(makeNamedPipe(cached));
    QImage made;
    EXPECT_TRUE(returnsBesidePipe(cached, [&] { made = make(photo, 100); }));
    EXPECT_TRUE(isRed(made.pixelColor(5, 5)));
}

TEST_F(FileThumbnailGeneratorTest, OtherFilesAndFoldersGetNothingButTheFallbackIcon)
{
    const FileEntry notes = FileEntry::fromPath(tree.file(QStringLiteral("notes.txt"), "hello"));
    EXPECT_TRUE(make(notes.path, 128).isNull());
    EXPECT_EQ(generator.fallbackIcons(notes).value(0), QStringLiteral("text-plain"));
    const QImage icon = generator.fallback(notes, generator.fallbackIcons(notes), 128);
    ASSERT_FALSE(icon.isNull());
    EXPECT_LE(std::max(icon.width(), icon.height()), 128);
    EXPECT_TRUE(make(tree.folder(QStringLiteral("folder")), 128).isNull());
}

} // namespace
