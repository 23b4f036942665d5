#include "storage_tree.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// 300,000 files in 20,000 folders, laid out as a walk lists them.
QList<FileEntry> makeFiles()
{
    QList<FileEntry> files;
    files.reserve(300'000);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int d = 0; d < 20'000; ++d)
        for (int f = 0; f < 15; ++f)
            files.append(
                FileEntry::indexed(QStringLiteral("/var/tmp/bench/tree/d%1/sub%2/file%3.jpg")
                                       .arg(d / 200)
                                       .arg(d)
                                       .arg(f),
                                   f * 37 % 4000, now, false));
    return files;
}

long peakKilobytes()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void buildTree(benchmark::State& state)
{
    const QList<FileEntry> files = makeFiles();
    const long before = peakKilobytes();
    for (auto _ : state) {
        const auto root = StorageTree::build(files, QStringLiteral("/var/tmp/bench/tree"));
        benchmark::DoNotOptimize(root->bytes());
    }
    // Peak growth over the entries themselves, per entry.
    state.counters["bytes_per_entry"] = double(peakKilobytes() - before) * 1024 / files.size();
}

} // namespace

BENCHMARK(buildTree)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
