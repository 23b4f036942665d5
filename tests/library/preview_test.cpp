#include "file_size_format.h"
#include "library/embedded_preview.h"
#include "library/library_fixture.h"
#include "library/preview_surfaces.h"
#include "named_pipe.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMediaPlayer>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QToolButton>
#include <QtEndian>
#include <atomic>

namespace {

// A second of a 440 Hz tone as 16-bit mono PCM.
void writeWav(const QString& path)
{
    const int rate = 22050;
    QByteArray samples;
    for (int i = 0; i < rate; ++i) {
        const qint16 value = qint16(8000 * std::sin(2 * M_PI * 440 * i / rate));
        samples.append(reinterpret_cast<const char*>(&value), 2);
    }
    QByteArray header("RIFF");
    const auto u32 = [&header](quint32 v) {
        v = qToLittleEndian(v);
        header.append(reinterpret_cast<const char*>(&v), 4);
    };
    const auto u16 = [&header](quint16 v) {
        v = qToLittleEndian(v);
        header.append(reinterpret_cast<const char*>(&v), 2);
    };
    u32(36 + samples.size());
    header.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    header.append("data");
    u32(samples.size());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(header + samples);
}

bool previewing(EmbeddedPreview& view, PreviewSurface::Kind kind)
{
    return view.surface() && view.surface()->kind() == kind;
}

// Lets go of anything stuck opening `pipe` once `limit` has passed, until it
// goes: a test that hands a pipe to a reader by mistake then fails rather
// than hangs.
class PipeWatch {
public:
    explicit PipeWatch(QString pipe, std::chrono::milliseconds limit = std::chrono::seconds(10))
        : thread_(QThread::create([this, pipe = std::move(pipe), limit] {
              QDeadlineTimer deadline(limit);
              while (!done_ && !deadline.hasExpired())
                  QThread::msleep(20);
              while (!done_) {
                  releasePipeReaders(pipe);
                  QThread::msleep(20);
              }
          }))
    {
        thread_->start();
    }
    ~PipeWatch()
    {
        done_ = true;
        thread_->wait();
    }

private:
    std::atomic_bool done_{false};
    std::unique_ptr<QThread> thread_;
};

} // namespace

TEST(EmbeddedPreview, CountsPositionAndDisablesStepsAtTheEnds)
{
    LibraryFixture images(Feature::Images);
    QList<FileEntry> files;
    for (int i = 0; i < 12; ++i)
        files << images.picture(QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')));
    MediaFilter byName;
    byName.sort = MediaFilter::Sort::Name;
    images.model->setMediaFilter(byName);
    images.deliver(files);
    ASSERT_EQ(images.model->visible().size(), 12);

    EmbeddedPreview view;
    view.setModel(images.model.get());
    images.model->setPreviewFile(images.model->visible().first());
    EXPECT_EQ(view.positionText(), QStringLiteral("1 of 12"));
    EXPECT_FALSE(view.previousButton()->isEnabled());
    EXPECT_TRUE(view.nextButton()->isEnabled());
    EXPECT_EQ(view.nextButton()->toolTip(), QStringLiteral("Next file"));
    EXPECT_EQ(view.previousButton()->toolTip(), QStringLiteral("Previous file"));

    view.nextButton()->click();
    EXPECT_EQ(view.file().name, QStringLiteral("p01.png"));
    EXPECT_EQ(view.positionText(), QStringLiteral("2 of 12"));
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.file().name, QStringLiteral("p00.png"));

    images.model->setPreviewFile(images.model->visible().last());
    EXPECT_EQ(view.positionText(), QStringLiteral("12 of 12"));
    EXPECT_FALSE(view.nextButton()->isEnabled());
    EXPECT_TRUE(view.previousButton()->isEnabled());
    EXPECT_TRUE(view.extractButton()->isVisible() || view.extractButton()->isVisibleTo(&view));

    // A file that is not listed (any more) counts as the first.
    images.model->setPreviewFile(FileEntry::fromPath(images.path("p05.png")));
    FileEntry stranger = images.picture("elsewhere.png");
    images.model->setPreviewFile(stranger);
    EXPECT_EQ(view.positionText(), QStringLiteral("1 of 12"));
    EXPECT_FALSE(view.nextButton()->isEnabled());

    // Space and "Back to files" both leave the preview.
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_FALSE(images.model->previewFile().has_value());
    EXPECT_EQ(view.surface(), nullptr);
}

TEST(EmbeddedPreview, ChoosesTheSurfaceByKindAndStepsBetweenKinds)
{
    LibraryFixture recent(Feature::Recent);
    const FileEntry image = recent.picture("a.png");
    const FileEntry text = recent.textFile("b.txt", "hello preview\n");
    const FileEntry pdf = recent.pdf("c.pdf");
    writeWav(recent.path("d.wav"));
    const FileEntry audio = FileEntry::fromPath(recent.path("d.wav"));
    const FileEntry other = recent.textFile("e.bin", QByteArray(64, '\0'));
    const FileEntry video = recent.textFile("f.mp4", "not really a video");
    EmbeddedPreview view;
    view.setModel(recent.model.get());

    const QList<std::pair<FileEntry, PreviewSurface::Kind>> cases{
        {image, PreviewSurface::Kind::Image},   {text, PreviewSurface::Kind::Generic},
        {pdf, PreviewSurface::Kind::Pdf},       {audio, PreviewSurface::Kind::Player},
        {other, PreviewSurface::Kind::Generic}, {video, PreviewSurface::Kind::Player},
        {image, PreviewSurface::Kind::Image},
    };
    for (const auto& [file, kind] : cases) {
        recent.model->setPreviewFile(file);
        EXPECT_TRUE(previewing(view, kind)) << file.name.toStdString();
        EXPECT_EQ(view.surface()->file().path, file.path);
    }

    recent.model->setPreviewFile(text);
    auto* generic = qobject_cast<GenericPreview*>(view.surface());
    ASSERT_TRUE(generic);
    ASSERT_TRUE(QTest::qWaitFor([&] { return generic->showsText(); }, 10000));
    EXPECT_EQ(generic->text(), QStringLiteral("hello preview\n"));
    EXPECT_TRUE(view.extractButton()->isHidden());

    recent.model->setPreviewFile(other);
    generic = qobject_cast<GenericPreview*>(view.surface());
    EXPECT_FALSE(generic->showsText());
    EXPECT_TRUE(generic->details().contains(formatFileSize(64)));
}

TEST(EmbeddedPreview, PipesNamedLikeFilmsOrPdfsGetTheGenericSurface)
{
    LibraryFixture recent(Feature::Recent);
    const FileEntry text = recent.textFile("a.txt", "before\n");
    EmbeddedPreview view;
    view.setModel(recent.model.get());
    for (const char* name : {"x.mp4", "x.mp3", "x.pdf"}) {
        const QString pipe = recent.path(name);
        ASSERT_TRUE(makeNamedPipe(pipe));
        const PipeWatch watch(pipe);
        const FileEntry entry = FileEntry::fromPath(pipe);
        ASSERT_EQ(PreviewSurface::kindFor(entry), PreviewSurface::Kind::Generic) << name;
        recent.model->setPreviewFile(text);
        recent.model->setPreviewFile(entry);
        auto* generic = qobject_cast<GenericPreview*>(view.surface());
        ASSERT_TRUE(generic) << name;
        EXPECT_EQ(generic->file().path, pipe);
        EXPECT_FALSE(generic->showsText());
    }

    // Handed one anyway, the player refuses it.
    PlayerPreview player;
    const QString pipe = recent.path("x.mp4");
    const PipeWatch watch(pipe);
    player.setFile(FileEntry::fromPath(pipe));
    EXPECT_TRUE(player.player()->source().isEmpty());
    EXPECT_FALSE(player.errorText().isEmpty());
}

TEST(PreviewSurfaces, ImageLoadsZoomsAndFallsBackForUnreadablePictures)
{
    LibraryFixture images(Feature::Images);
    ImagePreview preview;
    preview.resize(600, 400);
    preview.setFile(images.picture("wide.png", 800, 400));
    EXPECT_FALSE(preview.loaded());
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.loaded(); }, 20000));
    EXPECT_TRUE(preview.hasImage());
    EXPECT_FALSE(preview.showsFallback());
    EXPECT_EQ(preview.zoomText(), QStringLiteral("100%"));
    preview.setZoom(2.5);
    EXPECT_EQ(preview.zoomText(), QStringLiteral("250%"));
    preview.setZoom(9);
    EXPECT_EQ(preview.zoom(), 4.0);
    QTest::keyClick(&preview, Qt::Key_Minus);
    EXPECT_EQ(preview.zoomText(), QStringLiteral("375%"));

    // A truncated JPEG and a file gone before loading both end in the generic preview.
    const FileEntry broken = images.textFile("broken.jpg", QByteArray("\xFF\xD8\xFF\xE0", 4));
    preview.setFile(broken);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.loaded(); }, 20000));
    EXPECT_TRUE(preview.showsFallback());
    EXPECT_EQ(preview.zoom(), 1.0);

    const FileEntry gone = images.picture("gone.png");
    QFile::remove(gone.path);
    preview.setFile(gone);
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.loaded(); }, 20000));
    EXPECT_TRUE(preview.showsFallback());
}

TEST(PreviewSurfaces, HeifPicturesShowAndPipesFallBackAtOnce)
{
    LibraryFixture images(Feature::Images);
    ImagePreview preview;
    preview.resize(600, 400);
    const FileEntry png = images.picture("source.png", 320, 200);
    const QString folder = QFileInfo(png.path).absolutePath();
    const QString heic = folder + QStringLiteral("/phone.heic");
    QProcess encode;
    encode.start(QStringLiteral("heif-enc"), {png.path, QStringLiteral("-o"), heic});
    ASSERT_TRUE(encode.waitForFinished(60000) && encode.exitCode() == 0);
    preview.setFile(FileEntry::fromPath(heic));
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.loaded(); }, 20000));
    EXPECT_TRUE(preview.hasImage());
    EXPECT_FALSE(preview.showsFallback());

    const QString pipe = folder + QStringLiteral("/stuck.jpg");
    ASSERT_TRUE(makeNamedPipe(pipe));
    preview.setFile(FileEntry::fromPath(pipe));
    const bool loaded = QTest::qWaitFor([&] { return preview.loaded(); }, 10000);
    // A reader stuck on the pipe is let go, so the test fails rather than hangs.
    if (!loaded) releasePipeReaders(pipe);
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(preview.showsFallback());
}

TEST(PreviewSurfaces, HugePictureIsDecodedScaledDown)
{
    LibraryFixture images(Feature::Images);
    // 200 megapixels that compress to almost nothing.
    const FileEntry huge = images.picture("huge.png", 20000, 10000);
    ImagePreview preview;
    preview.setFile(huge);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.loaded(); }, 120000));
    if (preview.hasImage()) {
        // The zoom picture is capped at the requested edge.
        EXPECT_TRUE(preview.showsFallback() == false);
    }
    EXPECT_LT(clock.elapsed(), 120000);
}

TEST(PreviewSurfaces, PdfOpensLongDocumentsAndPagesThroughThem)
{
    LibraryFixture docs(Feature::Documents);
    const FileEntry pdf = docs.pdf("long.pdf", 2000);
    PdfPreview preview;
    preview.resize(600, 400);
    QElapsedTimer clock;
    clock.start();
    preview.setFile(pdf);
    EXPECT_LT(clock.elapsed(), 100) << "setFile must not parse the document on the GUI thread";
    ASSERT_TRUE(QTest::qWaitFor([&] { return preview.hasPageImage(); }, 20000));
    EXPECT_EQ(preview.pageCount(), 2000);
    EXPECT_LT(clock.elapsed(), 5000);

    // Stepping quickly renders only where it stops.
    for (int i = 0; i < 50; ++i)
        preview.setPage(preview.page() + 1);
    EXPECT_EQ(preview.page(), 50);
    int renders = 0;
    QObject::connect(&preview, &PdfPreview::pageRendered, [&renders] { ++renders; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return renders > 0; }, 20000));
    ASSERT_TRUE(waitForBackgroundWork()); // the renders it skipped have ended too
    EXPECT_EQ(renders, 1);
    preview.setPage(5000);
    EXPECT_EQ(preview.page(), 1999);

    // A PDF that is not one shows a message rather than a page.
    preview.setFile(docs.textFile("fake.pdf", "%PDF-1.4 nothing else"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !preview.errorText().isEmpty(); }, 20000));
    EXPECT_EQ(preview.pageCount(), 0);
}

TEST(PreviewSurfaces, PlayerPlaysAClipAndReportsACorruptOne)
{
    LibraryFixture audio(Feature::Audio);
    writeWav(audio.path("tone.wav"));
    PlayerPreview player;
    player.setFile(FileEntry::fromPath(audio.path("tone.wav")));
    player.player()->play();
    const bool playing = QTest::qWaitFor(
        [&] {
            return player.player()->playbackState() == QMediaPlayer::PlayingState ||
                   player.player()->error() != QMediaPlayer::NoError;
        },
        15000);
    if (player.player()->error() != QMediaPlayer::NoError)
        GTEST_SKIP() << "No playback backend: " << player.errorText().toStdString();
    ASSERT_TRUE(playing);
    EXPECT_EQ(player.player()->source(), QUrl::fromLocalFile(audio.path("tone.wav")));

    // The next file replaces the first; a corrupt one shows the player's message.
    QFile corrupt(audio.path("corrupt.mp4"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write(QByteArray(4096, 'x'));
    corrupt.close();
    player.setFile(FileEntry::fromPath(audio.path("corrupt.mp4")));
    EXPECT_NE(player.player()->playbackState(), QMediaPlayer::PlayingState);
    player.player()->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player.errorText().isEmpty(); }, 15000));
}
