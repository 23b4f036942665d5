// Explorer with one large folder: navigate → first painted frame of the
// grid, paint time of every frame while scrolling through all of it, and the
// memory the view adds beyond the model's own entries.
//   explorer_latency FOLDER
#include "explorer/explorer_browser.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "window/content_view.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>

namespace {

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Heap bytes in use: unlike the resident size, it drops when a list is freed.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

// CPU time of this thread: on a loaded machine it shows the paint's own cost
// apart from the time other processes held the cores.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
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
    clock.start();
    router.current().navigate(folder);
    while (watch.at < 0 && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const qint64 entries = browser->listModel()->rowCount();
    std::printf("entries %lld\nnavigate to first frame %lld ms\n", entries, watch.at);

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
