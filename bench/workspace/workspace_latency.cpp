// Latency figures of the section models, printed as plain lines:
//   workspace_latency [TREE [large|duplicates|storage]]
// TREE (optional) is a folder to scan in an analysis section (the Duplicate
// Finder unless named) while the longest stall of the event loop is measured.
#include "transfer_store.h"
#include "workspace/filter_pass.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

// Hands the model a fixed list as soon as it asks for one.
class FixedDiscovery : public LibraryDiscovering {
public:
    explicit FixedDiscovery(QList<FileEntry> files, int* starts)
        : files_(std::move(files)), starts_(starts)
    {
    }
    void start(MediaKind, bool, Receiver receive) override
    {
        ++*starts_;
        receive(LibrarySnapshot{files_, {}, false, std::nullopt});
    }
    void stop() override {}

private:
    QList<FileEntry> files_;
    int* starts_;
};

QList<FileEntry> manyEntries(int count)
{
    static const char* words[] = {"holiday", "invoice", "report", "sunset", "draft",
                                  "scan",    "family",  "budget", "notes",  "trip"};
    QList<FileEntry> files;
    files.reserve(count);
    const QDateTime base = QDateTime::currentDateTimeUtc();
    for (int i = 0; i < count; ++i)
        files << FileEntry::indexed(
            QStringLiteral("/data/%1/%2_%3.jpg").arg(i % 500).arg(words[i % 10]).arg(i), 1000 + i,
            base.addSecs(-i * 37), false);
    return files;
}

void spinUntil(const std::function<bool()>& done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void typingLatency(const QList<FileEntry>& files)
{
    int starts = 0;
    TransferStore store;
    WorkspaceModel model(std::make_unique<FixedDiscovery>(files, &starts), Feature::Images, &store);
    spinUntil([&] { return !model.isFiltering(); });
    std::vector<double> latencies;
    const QString typed = QStringLiteral("holiday_1");
    for (int n = 1; n <= typed.size(); ++n) {
        // An unchanged result is not published again, so the end of the pass counts.
        bool began = false;
        QElapsedTimer clock;
        clock.start();
        model.setQuery(typed.left(n));
        spinUntil([&] {
            began = began || model.isFiltering();
            return began && !model.isFiltering();
        });
        latencies.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("entries shown for \"%s\": %lld\n", qPrintable(typed),
                static_cast<long long>(model.libraryResult().files.size()));
    std::printf("typing to published result, %lld entries: median %.1f ms, max %.1f ms "
                "(80 ms of it is the debounce)\n",
                static_cast<long long>(files.size()), median(latencies),
                *std::max_element(latencies.begin(), latencies.end()));
}

// The filtering pass on its own, as the typing above runs it, without the
// debounce and the publishing around it: the first over new files, then one
// per keystroke over what the first gathered.
void passCost(const QList<FileEntry>& files)
{
    SectionFilterState state;
    state.feature = Feature::Images;
    state.files = files;
    std::vector<double> firsts, typed;
    const QString text = QStringLiteral("holiday_1");
    qsizetype bytes = 0;
    for (int round = 0; round < 5; ++round) {
        state.query.clear();
        FilterPass pass = FilterPass::forSection(state);
        QElapsedTimer clock;
        clock.start();
        const std::shared_ptr<const LibraryCandidates> candidates = pass.run({}).candidates;
        firsts.push_back(clock.nsecsElapsed() / 1e6);
        bytes = candidates->bytes();
        for (int n = 1; n <= text.size(); ++n) {
            state.query = text.left(n);
            pass = FilterPass::forSection(state);
            pass.candidates = candidates;
            clock.restart();
            const FilterOutput output = pass.run({});
            typed.push_back(clock.nsecsElapsed() / 1e6);
        }
    }
    std::printf("filtering pass alone, %lld entries: over new files median %.2f ms; per keystroke "
                "median %.2f ms, max %.2f ms; kept for the search %.1f bytes per entry\n",
                static_cast<long long>(files.size()), median(firsts), median(typed),
                *std::max_element(typed.begin(), typed.end()), double(bytes) / files.size());
}

void switchingCost(const QList<FileEntry>& files)
{
    int starts = 0;
    WorkspaceRouter router([&] { return std::make_unique<FixedDiscovery>(files, &starts); });
    router.activate(Feature::Images);
    spinUntil([&] { return !router.current().isFiltering(); });
    const int startsBefore = starts;
    std::vector<double> costs;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer clock;
        clock.start();
        router.activate(i % 2 ? Feature::Images : Feature::Explorer);
        costs.push_back(clock.nsecsElapsed() / 1e3);
    }
    std::printf("section switch: median %.1f us, max %.1f us; reloads: %d\n", median(costs),
                *std::max_element(costs.begin(), costs.end()), starts - startsBefore);
}

void longestStall(const QString& tree, Feature feature)
{
    int starts = 0;
    TransferStore store;
    WorkspaceModel model(std::make_unique<FixedDiscovery>(QList<FileEntry>{}, &starts), feature,
                         &store);
    spinUntil([&] { return !model.busy() && !model.isFiltering(); });
    QElapsedTimer sinceTick;
    qint64 worst = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        worst = std::max(worst, sinceTick.nsecsElapsed());
        sinceTick.restart();
    });
    QElapsedTimer total;
    total.start();
    model.navigate(tree);
    spinUntil([&] { return !model.busy() && !model.isFiltering(); });
    model.scan();
    sinceTick.start();
    ticker.start(1);
    spinUntil([&] { return model.report().has_value() && !model.busy() && !model.isFiltering(); });
    ticker.stop();
    std::printf("%s scan of %s: %.2f s, %lld files, %lld groups; longest event loop stall "
                "%.1f ms\n",
                qPrintable(titleOf(feature)), qPrintable(tree), total.nsecsElapsed() / 1e9,
                static_cast<long long>(model.report()->files.size()),
                static_cast<long long>(model.duplicateGroups().size()), worst / 1e6);
}

// Times each event the loop hands out, so a stall can be named.
class TimedApplication : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        // Both read first: handling the event may delete either.
        const char* className = receiver->metaObject()->className();
        const int type = int(event->type());
        QElapsedTimer clock;
        clock.start();
        const bool taken = QCoreApplication::notify(receiver, event);
        if (const qint64 took = clock.nsecsElapsed(); took > longest.nanoseconds) {
            longest.nanoseconds = took;
            longest.what =
                QStringLiteral("event %1 for %2").arg(type).arg(QString::fromLatin1(className));
        }
        return taken;
    }
    struct {
        qint64 nanoseconds = 0;
        QString what;
    } longest;
};

} // namespace

int main(int argc, char** argv)
{
    TimedApplication app(argc, argv);
    const QList<FileEntry> files = manyEntries(100000);
    typingLatency(files);
    passCost(files);
    switchingCost(files);
    if (argc > 1) {
        const QString named = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
        const Feature feature = named == u"large"     ? Feature::Large
                                : named == u"storage" ? Feature::Storage
                                                      : Feature::Duplicates;
        app.longest = {};
        longestStall(QString::fromLocal8Bit(argv[1]), feature);
        std::printf("longest single event: %.1f ms (%s)\n", app.longest.nanoseconds / 1e6,
                    qPrintable(app.longest.what));
    }
    return 0;
}
