#include "library_filtering.h"

#include <benchmark/benchmark.h>

namespace {

QList<FileEntry> makeLibrary(int count)
{
    static const char* const exts[] = {"jpg", "png", "JPG", "heic", "mp4", "pdf", "txt", "mp3"};
    QList<FileEntry> files;
    files.reserve(count);
    const QDateTime base = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < count; ++i) {
        const QString name =
            (i % 17 == 0 ? QStringLiteral("Urlaub Straße %1.") : QStringLiteral("IMG_%1.")).arg(i) +
            QLatin1StringView(exts[i % 8]);
        files.append(
            FileEntry::indexed(QStringLiteral("/home/user/Pictures/%1/").arg(i % 300) + name,
                               (i * 7919) % 40'000'000, base.addSecs(-i * 37), false));
    }
    return files;
}

void evaluateWithQueryAndFilter(benchmark::State& state)
{
    const QList<FileEntry> files = makeLibrary(100'000);
    MediaFilter filter;
    filter.size = MediaFilter::Size::Small;
    filter.days = 365;
    for (auto _ : state) {
        const LibraryResult result = LibraryFiltering::evaluate(
            files, MediaKind::Image, false, {}, QStringLiteral("img_1"), filter, {}, true);
        benchmark::DoNotOptimize(result.totalBytes);
    }
}

} // namespace

BENCHMARK(evaluateWithQueryAndFilter)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
