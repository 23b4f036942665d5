// thumbnail_throughput [--edge N] FOLDER: thumbnails of every picture and video
// under FOLDER through the application's ThumbnailStore (four generations at a
// time), then files, wall seconds, files/s and peak memory.
// The freedesktop cache is pointed at an empty folder first, so that every
// thumbnail is really rendered and none is taken from an earlier run.
#include "file_entry.h"
#include "media/file_thumbnail_generator.h"
#include "media/thumbnail_store.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

// Counts the files the real generator made nothing for: the store would show
// their type's icon instead, which must not pass for a thumbnail here.
class CountingGenerator : public ThumbnailGenerator {
public:
    QImage make(const FileEntry& file, int edge, const CancelCheck& isCancelled) override
    {
        QImage image = inner_.make(file, edge, isCancelled);
        if (image.isNull()) failed_.fetch_add(1);
        return image;
    }
    QStringList fallbackIcons(const FileEntry& file) override { return inner_.fallbackIcons(file); }
    QImage fallback(const FileEntry& file, const QStringList& icons, int edge) override
    {
        return inner_.fallback(file, icons, edge);
    }
    int failed() const { return failed_.load(); }

private:
    FileThumbnailGenerator inner_;
    std::atomic_int failed_{0};
};

long peakRssKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int usage()
{
    std::fprintf(stderr, "usage: thumbnail_throughput [--edge N] FOLDER\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Before Qt reads any standard location.
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quorvane-thumb-home-XXXXXX"));
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot make a temporary home folder\n");
        return 1;
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path() + QStringLiteral("/cache")));
    // Private to its owner, as Qt wants it; the temporary folder already is.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    int edge = 256;
    QString folder;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == u"--edge" && i + 1 < args.size()) {
            edge = args[++i].toInt();
            if (edge <= 0) return usage();
        } else if (folder.isEmpty() && !args[i].startsWith(u'-')) {
            folder = args[i];
        } else {
            return usage();
        }
    }
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) return usage();
    if (!FreedesktopThumbnails::defaultRoot().startsWith(home.path())) {
        std::fprintf(stderr, "the freedesktop cache is not the empty one: %s\n",
                     qPrintable(FreedesktopThumbnails::defaultRoot()));
        return 1;
    }

    QList<FileEntry> files;
    int pictures = 0;
    int videos = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const FileEntry file = FileEntry::fromPath(it.next());
        if (file.mediaKind == MediaKind::Image) {
            ++pictures;
        } else if (file.mediaKind == MediaKind::Video) {
            ++videos;
        } else {
            continue;
        }
        files << file;
    }
    std::sort(files.begin(), files.end(),
              [](const FileEntry& a, const FileEntry& b) { return a.path < b.path; });
    if (files.isEmpty()) {
        std::fprintf(stderr, "no pictures or videos in %s\n", qPrintable(folder));
        return 1;
    }

    auto generator = std::make_shared<CountingGenerator>();
    ThumbnailStore store(generator);
    int finished = 0;
    int empty = 0;
    int oversized = 0;
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    for (const FileEntry& file : files) {
        // Each picture is checked and dropped as it arrives, as a view would
        // hand it on; keeping them all would count their memory as the store's.
        auto* watcher = new QFutureWatcher<QImage>(&app);
        QObject::connect(watcher, &QFutureWatcherBase::finished, &app, [&, watcher] {
            const QImage image =
                watcher->future().resultCount() > 0 ? watcher->future().result() : QImage();
            if (image.isNull()) ++empty;
            if (image.width() > edge || image.height() > edge) ++oversized;
            watcher->deleteLater();
            if (++finished == files.size()) loop.quit();
        });
        watcher->setFuture(store.thumbnail(file, edge));
    }
    if (finished < files.size()) loop.exec();
    const double seconds = timer.nsecsElapsed() / 1e9;

    std::printf("files %lld (pictures %d, videos %d)\n", qlonglong(files.size()), pictures, videos);
    std::printf("failed %d (no picture made), empty %d, larger than %d: %d\n", generator->failed(),
                empty, edge, oversized);
    std::printf("wall %.3f s\n", seconds);
    std::printf("throughput %.1f files/s\n", files.size() / seconds);
    std::printf("peak rss %ld kB\n", peakRssKiB());
    return generator->failed() == 0 && empty == 0 && oversized == 0 ? 0 : 1;
}
