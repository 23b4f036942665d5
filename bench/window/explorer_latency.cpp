// Explorer with one large folder: navigate → first painted frame of the
// grid and → the whole listing in, the longest the event loop stood still
// meanwhile, the peak memory, each against ls on the same folder; then the
// paint time of every frame while scrolling through all of it, and the
// memory the view adds beyond the model's own entries.
//   explorer_latency FOLDER [--no-scroll]
#include "explorer/explorer_browser.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "window/content_view.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <malloc.h>

namespace {

long statusKiB(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLong();
    return 0;
}

long residentKiB()
{
    return statusKiB("VmRSS:");
}

// The names the Explorer shows: all but dot-names.
qint64 shownNames(const QString& folder)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return 0;
    qint64 count = 0;
    while (const dirent* entry = ::readdir(dir))
        count += entry->d_name[0] != '.';
    ::closedir(dir);
    return count;
}

// Wall time of a shell pipeline over the folder, best of three.
double shellMs(const QString& command, const QString& folder)
{
    double best = 1e12;
    for (int run = 0; run < 3; ++run) {
        QProcess shell;
        QElapsedTimer clock;
        clock.start();
        shell.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"), command, QStringLiteral("sh"), folder});
        shell.waitForFinished(-1);
        best = std::min(best, clock.nsecsElapsed() / 1e6);
    }
    return best;
}

// CPU time of this thread: on a loaded machine it shows the paint's own cost
// apart from the time other processes held the cores.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The longest the event loop went without turning, from a timer that asks
// to run on every turn: in wall time, and in this thread's CPU time, which
// leaves out the time other processes held the cores.
class StallMeter : public QObject {
public:
    StallMeter()
    {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const double cpu = threadCpuMs();
            if (now - last_ > longest_) {
                longest_ = now - last_;
                longestAt_ = now / 1e6;
                longestOwnCpu_ = cpu - lastCpu_;
            }
            if (now - last_ > 16'000'000) ++over16_;
            last_ = now;
            if (cpu - lastCpu_ > longestCpu_) {
                longestCpu_ = cpu - lastCpu_;
                longestCpuAt_ = now / 1e6;
            }
            lastCpu_ = cpu;
        });
    }
    void start()
    {
        clock_.start();
        last_ = 0;
        longest_ = 0;
        over16_ = 0;
        lastCpu_ = threadCpuMs();
        longestCpu_ = 0;
        timer_.start();
    }
    double stop()
    {
        timer_.stop();
        return longest_ / 1e6;
    }
    double longestCpu() const { return longestCpu_; }
    // When the longest in wall time ended, and the thread CPU time within it.
    double longestAt() const { return longestAt_; }
    double longestOwnCpu() const { return longestOwnCpu_; }
    int over16() const { return over16_; }
    // When the longest in CPU time ended, in ms from start().
    double longestCpuAt() const { return longestCpuAt_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
    double longestAt_ = 0;
    double longestOwnCpu_ = 0;
    int over16_ = 0;
    double lastCpu_ = 0;
    double longestCpu_ = 0;
    double longestCpuAt_ = 0;
};

void printPair(const char* what, double ours, const char* other, double theirs)
{
    std::printf("%-28s %10.1f ms   vs %-14s %8.1f ms   ratio %.2f\n", what, ours, other, theirs,
                theirs > 0 ? ours / theirs : 0.0);
}

// Heap bytes in use: unlike the resident size, it drops when a list is freed.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

void printFrames(const char* what, QList<double> frames)
{
    std::sort(frames.begin(), frames.end());
    if (frames.isEmpty()) return;
    std::printf("%s: frames %lld, median %.2f ms, p99 %.2f ms, max %.2f ms\n", what,
                qlonglong(frames.size()), frames[frames.size() / 2],
                frames[int(frames.size() * 0.99)], frames.last());
}

class FirstPaint : public QObject {
public:
    QElapsedTimer* clock;
    FileListModel* model;
    qint64 at = -1;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && at < 0 && model->rowCount() > 0)
            at = clock->elapsed();
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: explorer_latency FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const bool scroll = !(argc > 2 && qstrcmp(argv[2], "--no-scroll") == 0);
    // The same folder through ls, with a warm cache as the window gets it.
    const qint64 expected = shownNames(folder);
    const double lsHead = shellMs(QStringLiteral("ls -f \"$1\" | head > /dev/null"), folder);
    const double lsAll = shellMs(QStringLiteral("ls -f \"$1\" > /dev/null"), folder);
    const double lsSorted = shellMs(QStringLiteral("ls \"$1\" > /dev/null"), folder);
    WorkspaceRouter router;
    ContentView view(router);
    view.resize(1280, 800);
    view.show();
    QTest::qWait(200);
    auto* browser = qobject_cast<ExplorerBrowser*>(view.currentSectionView());
    FileListView* grid = browser->currentView();

    FirstPaint watch;
    QElapsedTimer clock;
    watch.clock = &clock;
    watch.model = browser->listModel();
    grid->viewport()->installEventFilter(&watch);
    StallMeter stalls;
    const long rssBefore = residentKiB();
    stalls.start();
    clock.start();
    router.current().navigate(folder);
    while (watch.at < 0 && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 firstRows = browser->listModel()->rowCount();
    while (browser->listModel()->rowCount() < expected && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double full = clock.nsecsElapsed() / 1e6;
    // Paints and work queued by the last part count as part of the fill.
    QTest::qWait(200);
    const double stall = stalls.stop();
    const qint64 entries = browser->listModel()->rowCount();
    std::printf("entries %lld (first frame showed %lld rows)\n", entries, firstRows);
    std::printf("navigate to first frame %lld ms\n", watch.at);
    printPair("first screen", double(watch.at), "ls -f | head", lsHead);
    printPair("full listing", full, "ls -f", lsAll);
    printPair("full listing", full, "ls", lsSorted);
    std::printf("longest event-loop stall while filling %.1f ms (%.1f ms of thread cpu, the "
                "longest of those ended %.0f ms in)\n",
                stall, stalls.longestCpu(), stalls.longestCpuAt());
    std::printf("  the longest ended %.0f ms in with %.1f ms of thread cpu; %d stalls over 16 ms\n",
                stalls.longestAt(), stalls.longestOwnCpu(), stalls.over16());
    std::printf("peak memory %ld KiB (%ld KiB before navigating), %.0f bytes per entry\n",
                statusKiB("VmHWM:"), rssBefore,
                entries ? (statusKiB("VmHWM:") - rssBefore) * 1024.0 / entries : 0.0);
    if (!scroll) {
        router.stopAllWork();
        return 0;
    }

    // Memory the list model adds: drop it and take it again, then look one
    // path up (finding a row is part of every selection change).
    const long withView = residentKiB();
    // No model also drops the pictures, so only the list differs between the two heap figures.
    browser->listModel()->setWorkspace(nullptr);
    QTest::qWait(100);
    const long withoutView = residentKiB();
    const qint64 heapWithout = heapInUse();
    browser->listModel()->setWorkspace(&router.current());
    if (entries > 0)
        browser->listModel()->rowOf(browser->listModel()->entry(int(entries / 2)).path);
    const qint64 heapWith = heapInUse();
    QTest::qWait(100);
    const long again = residentKiB();
    std::printf("view memory %.0f bytes per entry on the heap (rss %ld → %ld → %ld KiB)\n",
                entries ? double(heapWith - heapWithout) / entries : 0.0, withView, withoutView,
                again);

    // Scroll page by page through the whole grid, painting each frame now.
    QScrollBar* bar = grid->verticalScrollBar();
    QList<double> frames;
    QList<double> cpu;
    const int step = std::max(1, bar->pageStep());
    for (int value = 0; value <= bar->maximum(); value += step) {
        bar->setValue(value);
        QElapsedTimer paint;
        const double cpuStart = threadCpuMs();
        paint.start();
        grid->viewport()->repaint();
        frames << paint.nsecsElapsed() / 1e6;
        cpu << threadCpuMs() - cpuStart;
        QCoreApplication::processEvents();
    }
    printFrames("scroll paint (wall)", frames);
    printFrames("scroll paint (thread cpu)", cpu);
    router.stopAllWork();
    return 0;
}
