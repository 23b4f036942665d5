// Storage Analyzer over a scanned tree: entering the section (view bound,
// laid out and painted) and each drill-down and "Up" step to a painted frame.
//   analysis_latency FOLDER
#include "analysis/analysis_view.h"
#include "analysis/storage_children_model.h"
#include "analysis/storage_hierarchy_view.h"
#include "storage_node.h"
#include "window/content_view.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <cstdio>

namespace {

// Runs `step`, then paints the window once; the milliseconds both took.
double timed(QWidget& window, const std::function<void()>& step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    QCoreApplication::processEvents();
    window.grab(); // renders every widget of the frame
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: analysis_latency FOLDER\n");
        return 2;
    }
    WorkspaceRouter router;
    ContentView window(router);
    window.resize(1280, 800);
    window.show();
    QTest::qWait(200);

    router.activate(Feature::Storage);
    WorkspaceModel& model = router.current();
    model.navigate(QString::fromLocal8Bit(argv[1]));
    (void)QTest::qWaitFor([&] { return !model.busy(); }, 60000);
    QElapsedTimer scan;
    scan.start();
    model.scan();
    if (!QTest::qWaitFor(
            [&] { return model.storageTree() && !model.busy() && !model.isFiltering(); }, 300000)) {
        std::fprintf(stderr, "analysis_latency: no tree\n");
        return 1;
    }
    std::printf("files %lld, scan and tree %lld ms (model work, off the GUI thread)\n",
                model.storageTree()->fileCount(), scan.elapsed());
    router.activate(Feature::Explorer);
    QTest::qWait(300);

    QList<double> steps;
    const double open = timed(window, [&] { router.activate(Feature::Storage); });
    std::printf("open section %.1f ms\n", open);
    auto* view = qobject_cast<AnalysisView*>(window.currentSectionView());
    StorageHierarchyView* hierarchy = view->hierarchy();
    steps << open;
    int depth = 0;
    for (;;) {
        const StorageChildrenModel* rows = hierarchy->rowModel();
        int folder = 0;
        while (folder < rows->rowCount() && !rows->node(rows->index(folder))->isDirectory())
            ++folder;
        if (folder == rows->rowCount()) break;
        const QModelIndex row = rows->index(folder);
        const double ms = timed(window, [&] { hierarchy->press(*rows->node(row), true); });
        std::printf("drill into %s (%d rows) %.1f ms\n", qPrintable(hierarchy->pathText()),
                    hierarchy->rowModel()->rowCount(), ms);
        steps << ms;
        ++depth;
    }
    for (int up = 0; up < depth; ++up) {
        const double ms = timed(window, [&] { hierarchy->upButton()->click(); });
        std::printf("up to %s %.1f ms\n", qPrintable(hierarchy->pathText()), ms);
        steps << ms;
    }
    const double more = timed(window, [&] { view->moreButton()->click(); });
    std::printf("show 100 more largest files %.1f ms\n", more);
    router.activate(Feature::Explorer);
    QTest::qWait(300);
    QElapsedTimer part;
    part.start();
    router.activate(Feature::Storage);
    const double bound = part.nsecsElapsed() / 1e6;
    QCoreApplication::processEvents();
    const double events = part.nsecsElapsed() / 1e6;
    window.grab(); // renders every widget of the frame
    const double reopen = part.nsecsElapsed() / 1e6;
    std::printf("  activate %.1f, events/layout %.1f, paint %.1f ms\n", bound, events - bound,
                reopen - events);
    std::printf("open section again %.1f ms\n", reopen);
    steps << reopen;
    std::sort(steps.begin(), steps.end());
    std::printf("steps %lld, median %.1f ms, max %.1f ms\n", qlonglong(steps.size()),
                steps[steps.size() / 2], steps.last());
    return 0;
}
