// Thumbnails of 12-megapixel JPEGs and of videos: scaled decoding against a
// full decode, and the store running four generations at once.
// Fixtures are made once under $QUORVANE_BENCH_DIR (default /var/tmp/quorvane-thumbs).
#include "media/file_thumbnail_generator.h"
#include "media/scaled_image.h"
#include "media/thumbnail_store.h"
#include "media/video_frame.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

constexpr int edge = 256;
constexpr int pictureCount = 24;
constexpr int videoCount = 8;

QString benchDir()
{
    const QString dir = qEnvironmentVariable("QUORVANE_BENCH_DIR");
    return dir.isEmpty() ? QStringLiteral("/var/tmp/quorvane-thumbs") : dir;
}

// A photo-like 4000 x 3000 picture: gradients and noise, so it compresses like one.
QImage photo(int seed)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 4000, 3000);
    gradient.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 200, 230));
    gradient.setColorAt(1, QColor::fromHsv(seed * 91 % 360, 180, 60));
    painter.fillRect(image.rect(), gradient);
    QRandomGenerator random(seed);
    for (int i = 0; i < 4000; ++i) {
        painter.setPen(QColor::fromRgb(random.generate()));
        painter.drawEllipse(random.bounded(4000), random.bounded(3000), random.bounded(200),
                            random.bounded(200));
    }
    return image;
}

const QStringList& pictures()
{
    static const QStringList paths = [] {
        QStringList result;
        QDir().mkpath(benchDir() + QStringLiteral("/jpeg"));
        for (int i = 0; i < pictureCount; ++i) {
            const QString path = benchDir() + QStringLiteral("/jpeg/photo%1.jpg").arg(i);
            if (!QFile::exists(path)) photo(i).save(path, "JPEG", 88);
            result << path;
        }
        return result;
    }();
    return paths;
}

const QStringList& videos()
{
    static const QStringList paths = [] {
        QStringList result;
        QDir().mkpath(benchDir() + QStringLiteral("/video"));
        for (int i = 0; i < videoCount; ++i) {
            const QString path = benchDir() + QStringLiteral("/video/clip%1.mp4").arg(i);
            if (!QFile::exists(path))
                QProcess::execute(QStringLiteral("ffmpeg"),
                                  {QStringLiteral("-nostdin"), QStringLiteral("-loglevel"),
                                   QStringLiteral("error"), QStringLiteral("-y"),
                                   QStringLiteral("-f"), QStringLiteral("lavfi"),
                                   QStringLiteral("-i"),
                                   QStringLiteral("testsrc2=size=1920x1080:rate=30:duration=10"),
                                   QStringLiteral("-c:v"), QStringLiteral("libx264"),
                                   QStringLiteral("-preset"), QStringLiteral("veryfast"),
                                   QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), path});
            result << path;
        }
        return result;
    }();
    return paths;
}

void BM_JpegScaledDecoding(benchmark::State& state)
{
    const QStringList& paths = pictures();
    for (auto _ : state)
        for (const QString& path : paths)
            benchmark::DoNotOptimize(readScaledImage(path, edge));
    state.SetItemsProcessed(state.iterations() * paths.size());
}
BENCHMARK(BM_JpegScaledDecoding)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JpegFullDecodeThenScale(benchmark::State& state)
{
    const QStringList& paths = pictures();
    for (auto _ : state)
        for (const QString& path : paths)
            benchmark::DoNotOptimize(
                QImage(path).scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    state.SetItemsProcessed(state.iterations() * paths.size());
}
BENCHMARK(BM_JpegFullDecodeThenScale)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_VideoFrame(benchmark::State& state)
{
    const QStringList& paths = videos();
    for (auto _ : state)
        for (const QString& path : paths)
            benchmark::DoNotOptimize(readVideoFrame(path, edge, {}));
    state.SetItemsProcessed(state.iterations() * paths.size());
}
BENCHMARK(BM_VideoFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every picture and video requested at once; the store runs four at a time.
void BM_StoreFourAtATime(benchmark::State& state)
{
    QList<FileEntry> files;
    for (const QString& path : pictures() + videos())
        files << FileEntry::fromPath(path);
    // Nothing from the shared desktop cache: every thumbnail is rendered.
    auto generator = std::make_shared<FileThumbnailGenerator>(
        FreedesktopThumbnails(benchDir() + QStringLiteral("/no-shared-cache")));
    for (auto _ : state) {
        ThumbnailStore store(generator);
        QList<QFuture<QImage>> futures;
        for (const FileEntry& file : files)
            futures << store.thumbnail(file, edge);
        for (const QFuture<QImage>& future : futures)
            while (!future.isFinished())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    state.SetItemsProcessed(state.iterations() * files.size());
}
BENCHMARK(BM_StoreFourAtATime)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
