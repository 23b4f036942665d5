// Library discovery against the running file index, timed on the GUI thread:
//   discovery_slices [KIND [RUNS]]   KIND as in `quorvane-cli discover` (default other), RUNS 5
//   discovery_slices --query KIND    prints the SPARQL the index is asked for KIND
// Per run: the start() call, the first interim and the final snapshot, and the
// longest single event the GUI thread handles while the run goes on (every
// slice of conversion is one event), plus the longest gap between 1-ms ticks,
// apart for the wait for the index (where the GUI thread does nothing, so a
// gap there is only the scheduler) and for the slicing after it.
// It talks to the Tracker miner on DBUS_SESSION_BUS_ADDRESS, which should be idle.
#include "tracker_file_index.h"
#include "tracker_library_discovery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Times the handling of every top-level event on the GUI thread.
class TimedApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        // Nested deliveries are part of the outer one; other threads are not the GUI's.
        if (!timing || depth_ > 0 || QThread::currentThread() != thread())
            return QCoreApplication::notify(receiver, event);
        ++depth_;
        QElapsedTimer clock;
        clock.start();
        struct Leave {
            TimedApplication* app;
            QElapsedTimer& clock;
            ~Leave()
            {
                --app->depth_;
                app->longestNs = std::max(app->longestNs, clock.nsecsElapsed());
                ++app->events;
            }
        } leave{this, clock};
        return QCoreApplication::notify(receiver, event);
    }

    bool timing = false;
    qint64 longestNs = 0;
    qint64 events = 0;

private:
    int depth_ = 0;
};

struct Run {
    double startMs = 0;
    double firstInterimMs = -1;
    double finalMs = -1;
    qsizetype firstInterimCount = 0;
    qsizetype finalCount = -1;
    int interims = 0;
    double longestEventMs = 0;
    double longestWaitGapMs = 0;
    double longestGapMs = 0;
    qint64 events = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool runOnce(TimedApplication& app, MediaKind kind, Run& run)
{
    TrackerLibraryDiscovery discovery;
    // Held like the window's model holds it, so growing the next snapshot
    // pays for the copy a real receiver causes.
    LibrarySnapshot latest;
    QEventLoop loop;
    bool failed = false;
    QElapsedTimer clock;

    QElapsedTimer sinceTick;
    qint64 longestGap = 0, longestWaitGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        qint64& longest = run.firstInterimMs < 0 ? longestWaitGap : longestGap;
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [&] {
        failed = true;
        loop.quit();
    });

    app.longestNs = 0;
    app.events = 0;
    app.timing = true;
    clock.start();
    discovery.start(kind, false, [&](const LibrarySnapshot& snapshot) {
        if (snapshot.message) {
            std::fprintf(stderr, "discovery: %s\n", qPrintable(*snapshot.message));
            failed = true;
            loop.quit();
            return;
        }
        latest = snapshot;
        const double now = clock.nsecsElapsed() / 1e6;
        if (snapshot.gathering) {
            if (run.firstInterimMs < 0) {
                run.firstInterimMs = now;
                run.firstInterimCount = snapshot.files.size();
            }
            ++run.interims;
            return;
        }
        run.finalMs = now;
        run.finalCount = snapshot.files.size();
        loop.quit();
    });
    run.startMs = clock.nsecsElapsed() / 1e6;
    sinceTick.start();
    ticker.start(1);
    giveUp.start(120000);
    if (!failed) loop.exec();
    ticker.stop();
    app.timing = false;
    discovery.stop();
    run.longestEventMs = app.longestNs / 1e6;
    run.longestGapMs = longestGap / 1e6;
    run.longestWaitGapMs = longestWaitGap / 1e6;
    run.events = app.events;
    return !failed && run.finalCount >= 0;
}

} // namespace

int main(int argc, char** argv)
{
    TimedApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.value(0) == QLatin1String("--query")) {
        const auto kind = fromRawValue<MediaKind>(args.value(1));
        if (!kind) return 2;
        std::printf("%s\n", qPrintable(TrackerFileIndex::queryFor(*kind)));
        return 0;
    }
    const auto kind = fromRawValue<MediaKind>(args.value(0, QStringLiteral("other")));
    const int runs = std::max(1, args.value(1, QStringLiteral("5")).toInt());
    if (!kind) {
        std::fprintf(stderr, "KIND is one of image, video, audio, document, other\n");
        return 2;
    }

    std::vector<Run> done;
    // The first run sets up the bus connection and warms the miner's caches; it is not counted.
    for (int i = 0; i <= runs; ++i) {
        Run run;
        if (!runOnce(app, *kind, run)) {
            std::fprintf(stderr, "run %d did not reach a final snapshot\n", i);
            return 1;
        }
        std::printf("  run %d%s: start() %.1f ms, first interim %.1f ms (%lld entries), final "
                    "%.1f ms (%lld entries, %d interim), longest event %.2f ms of %lld, longest "
                    "1-ms tick gap %.2f ms waiting, %.2f ms slicing\n",
                    i, i == 0 ? " (warm-up)" : "", run.startMs, run.firstInterimMs,
                    static_cast<long long>(run.firstInterimCount), run.finalMs,
                    static_cast<long long>(run.finalCount), run.interims, run.longestEventMs,
                    static_cast<long long>(run.events), run.longestWaitGapMs, run.longestGapMs);
        if (i > 0) done.push_back(run);
        // Let the index settle between runs.
        QThread::msleep(200);
    }

    std::vector<double> starts, firsts, finals, events, waitGaps, gaps;
    for (const Run& run : done) {
        starts.push_back(run.startMs);
        firsts.push_back(run.firstInterimMs);
        finals.push_back(run.finalMs);
        events.push_back(run.longestEventMs);
        waitGaps.push_back(run.longestWaitGapMs);
        gaps.push_back(run.longestGapMs);
    }
    std::printf("start() median %.2f ms\n", median(starts));
    std::printf("first interim snapshot median %.1f ms\n", median(firsts));
    std::printf("final snapshot median %.1f ms, %lld entries\n", median(finals),
                static_cast<long long>(done.back().finalCount));
    std::printf("longest GUI-thread event median %.2f ms, max %.2f ms\n", median(events),
                *std::max_element(events.begin(), events.end()));
    std::printf("longest 1-ms tick gap waiting for the index median %.2f ms, max %.2f ms\n",
                median(waitGaps), *std::max_element(waitGaps.begin(), waitGaps.end()));
    std::printf("longest 1-ms tick gap while slicing median %.2f ms, max %.2f ms\n", median(gaps),
                *std::max_element(gaps.begin(), gaps.end()));
    return 0;
}
