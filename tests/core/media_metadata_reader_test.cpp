#include "media_metadata_reader.h"
#include "named_pipe.h"
#include "test_support.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool ffmpeg(const QStringList& arguments)
{
    return run("ffmpeg", QStringList{"-nostdin", "-loglevel", "error", "-y"} + arguments);
}

FileEntry entry(const QString& path, MediaKind kind)
{
    FileEntry file = FileEntry::fromPath(path);
    file.mediaKind = kind;
    return file;
}

} // namespace

TEST(MediaMetadataReader, ImagesReadTheirHeaderAndTurnForQuarterOrientations)
{
    TempTree tree;
    const QString turned = tree.path("turned.jpg"), upsideDown = tree.path("upside.jpg");
    ASSERT_TRUE(QImage(400, 300, QImage::Format_RGB32).save(turned, "JPEG"));
    ASSERT_TRUE(QImage(400, 300, QImage::Format_RGB32).save(upsideDown, "JPEG"));
    ASSERT_TRUE(run("exiv2", {"-M", "set Exif.Image.Orientation 6", turned}));
    ASSERT_TRUE(run("exiv2", {"-M", "set Exif.Image.Orientation 3", upsideDown}));

    const MediaMetadata portrait = MediaMetadataReader::readNow(entry(turned, MediaKind::Image));
    EXPECT_EQ(portrait.width, 300);
    EXPECT_EQ(portrait.height, 400);
    EXPECT_FALSE(portrait.duration.has_value());
    const MediaMetadata same = MediaMetadataReader::readNow(entry(upsideDown, MediaKind::Image));
    EXPECT_EQ(same.width, 400);
    EXPECT_EQ(same.height, 300);

    // The route follows the kind: a picture filed as a document is not opened.
    EXPECT_EQ(MediaMetadataReader::readNow(entry(turned, MediaKind::Document)), MediaMetadata{});
    const QString broken = tree.file("broken.png", "not a picture");
    EXPECT_EQ(MediaMetadataReader::readNow(entry(broken, MediaKind::Image)), MediaMetadata{});
}

TEST(MediaMetadataReader, HeifAvifAndCameraRawPicturesHaveTheirSizes)
{
    TempTree tree;
    const QString source = tree.path("source.png"), heic = tree.path("phone.heic"),
                  renamed = tree.path("export.jpg"), avif = tree.path("web.avif");
    ASSERT_TRUE(QImage(64, 48, QImage::Format_RGB32).save(source));
    ASSERT_TRUE(run("heif-enc", {source, "-o", heic}));
    ASSERT_TRUE(QFile::copy(heic, renamed));
    // heif-enc's own AVIF output trips an assertion in Debian 12's libaom.
    ASSERT_TRUE(ffmpeg({"-i", source, "-c:v", "libaom-av1", "-still-picture", "1", avif}));
    for (const QString& path : {heic, renamed, avif}) {
        const MediaMetadata picture = MediaMetadataReader::readNow(entry(path, MediaKind::Image));
        EXPECT_EQ(picture.width, 64) << qPrintable(path);
        EXPECT_EQ(picture.height, 48) << qPrintable(path);
    }

    // The raw mosaic is 80 x 60, its preview 40 x 30; the camera was turned.
    const QString mkdng = QStringLiteral(QUORVANE_MKDNG_PATH);
    const QString raw = tree.path("IMG_0002.dng");
    ASSERT_TRUE(run("python3", {mkdng, "--orientation", "6", raw}));
    const MediaMetadata turned = MediaMetadataReader::readNow(entry(raw, MediaKind::Image));
    EXPECT_EQ(turned.width, 60);
    EXPECT_EQ(turned.height, 80);
    const QString junk = tree.file("junk.cr2", QByteArray(3000, 'c'));
    EXPECT_EQ(MediaMetadataReader::readNow(entry(junk, MediaKind::Image)), MediaMetadata{});
}

TEST(MediaMetadataReader, MoviesAndSoundGiveDurationAndTheShownFrameSize)
{
    TempTree tree;
    const QString tone = tree.path("tone.mp3"), plain = tree.path("plain.mp4"),
                  portrait = tree.path("portrait.mp4");
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "sine=frequency=400:duration=2", "-c:a", "libmp3lame",
                        "-b:a", "64k", tone}));
    ASSERT_TRUE(ffmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=1", "-c:v",
                        "libx264", "-pix_fmt", "yuv420p", plain}));
    // The rotate tag is honoured only when stream-copying.
    ASSERT_TRUE(ffmpeg({"-i", plain, "-c", "copy", "-metadata:s:v:0", "rotate=270", portrait}));

    const MediaMetadata sound = MediaMetadataReader::readNow(entry(tone, MediaKind::Audio));
    EXPECT_EQ(sound.width, 0);
    EXPECT_EQ(sound.height, 0);
    ASSERT_TRUE(sound.duration.has_value());
    EXPECT_NEAR(*sound.duration, 2.0, 0.1);

    const MediaMetadata landscape = MediaMetadataReader::readNow(entry(plain, MediaKind::Video));
    EXPECT_EQ(landscape.width, 320);
    EXPECT_EQ(landscape.height, 240);
    ASSERT_TRUE(landscape.duration.has_value());
    EXPECT_NEAR(*landscape.duration, 1.0, 0.1);

    const MediaMetadata turned = MediaMetadataReader::readNow(entry(portrait, MediaKind::Video));
    EXPECT_EQ(turned.width, 240);
    EXPECT_EQ(turned.height, 320);

    const QString junk = tree.file("junk.mp4", "no movie here");
    EXPECT_EQ(MediaMetadataReader::readNow(entry(junk, MediaKind::Video)), MediaMetadata{});
}

TEST(MediaMetadataReader, ReadsRunInOrderOnTheReader)
{
    TempTree tree;
    QList<QFuture<MediaMetadata>> reads;
    MediaMetadataReader reader;
    for (int i = 1; i <= 5; ++i) {
        const QString path = tree.path(QStringLiteral("p%1.png").arg(i));
        ASSERT_TRUE(QImage(i * 10, 7, QImage::Format_RGB32).save(path));
        reads << reader.read(entry(path, MediaKind::Image));
    }
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(reads[i - 1].result().width, i * 10);
}

TEST(MediaMetadataReader, PipesNamedLikeMediaAreNotOpened)
{
    TempTree tree;
    const QString picture = tree.path("photo.jpg"), movie = tree.path("clip.mp4");
    ASSERT_TRUE(makeNamedPipe(picture));
    ASSERT_TRUE(makeNamedPipe(movie));

    MediaMetadata fromPicture{1, 1, 1.0}, fromMovie{1, 1, 1.0};
    EXPECT_TRUE(returnsBesidePipe(picture, [&] {
        fromPicture = MediaMetadataReader::readNow(entry(picture, MediaKind::Image));
    }));
    EXPECT_TRUE(returnsBesidePipe(
        movie, [&] { fromMovie = MediaMetadataReader::readNow(entry(movie, MediaKind::Video)); }));
    EXPECT_EQ(fromPicture, MediaMetadata{});
    EXPECT_EQ(fromMovie, MediaMetadata{});

    // The command line reads the same way and ends on its own.
    QProcess process;
    process.start(QStringLiteral(QUORVANE_CLI_PATH), {"meta", picture, movie});
    const bool ended = process.waitForFinished(10000);
    if (!ended) process.kill();
    EXPECT_TRUE(ended);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(process.readAllStandardOutput().contains("0\u00d70"));
}
