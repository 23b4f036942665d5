#include "distant_past.h"
#include "event_loop.h"
#include "tracker_library_discovery.h"

#include <QPromise>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// An index whose results the test sets and whose reads it can hold back.
class ScriptedIndex : public FileIndex {
public:
    struct State {
        bool reachable = true;
        IndexResults results;
        int reads = 0;
        std::function<void()> changed;
        bool holdReads = false;
        QList<std::shared_ptr<QPromise<IndexResults>>> held;
        void releaseHeld()
        {
            for (auto& promise : held) {
                promise->addResult(results);
                promise->finish();
            }
            held.clear();
        }
    };
    explicit ScriptedIndex(std::shared_ptr<State> state) : state_(std::move(state)) {}
    bool start(MediaKind, std::function<void()> changed) override
    {
        state_->changed = std::move(changed);
        return state_->reachable;
    }
    void stop() override { state_->changed = nullptr; }
    QFuture<IndexResults> results() override
    {
        ++state_->reads;
        auto promise = std::make_shared<QPromise<IndexResults>>();
        promise->start();
        QFuture<IndexResults> future = promise->future();
        if (state_->holdReads) {
            state_->held << promise;
        } else {
            promise->addResult(state_->results);
            promise->finish();
        }
        return future;
    }

private:
    std::shared_ptr<State> state_;
};

IndexedItem item(const QString& path, qint64 size = 10)
{
    return IndexedItem{path, size, QDateTime::currentDateTimeUtc(), false, false};
}

struct Fixture {
    std::shared_ptr<ScriptedIndex::State> state = std::make_shared<ScriptedIndex::State>();
    TrackerLibraryDiscovery discovery{std::make_unique<ScriptedIndex>(state)};
    QList<LibrarySnapshot> received;
    LibraryDiscovering::Receiver receiver()
    {
        return [this](const LibrarySnapshot& s) { received << s; };
    }
    // Generous: converting a large result takes long on a loaded machine.
    bool waitForFinal(int count = 1)
    {
        return QTest::qWaitFor(
            [&] {
                return std::count_if(received.begin(), received.end(),
                                     [](const LibrarySnapshot& s) { return !s.gathering; }) >=
                       count;
            },
            60000);
    }
};

} // namespace

TEST(LibraryDiscovery, ConvertsResultsIntoEntriesAndScreenshots)
{
    Fixture f;
    f.state->results.items = {item("/p/Screen Shot 2024-01-02 at 10.00.00.png"),
                              item("/p/IMG_1.jpg", -5), item("/p/MYSCREENSHOT.PNG")};
    f.state->results.items[1].modified.reset();
    f.state->results.items[1].isScreenCapture = true; // the index's own flag
    f.discovery.start(MediaKind::Image, false, f.receiver());
    ASSERT_TRUE(f.waitForFinal());
    const LibrarySnapshot& last = f.received.last();
    ASSERT_EQ(last.files.size(), 3);
    EXPECT_EQ(last.files[1].size, 0);
    EXPECT_EQ(last.files[1].modified, distantPast());
    EXPECT_EQ(last.files[0].mediaKind, MediaKind::Image);
    EXPECT_EQ(last.screenshots.size(), 3);
    EXPECT_FALSE(last.message.has_value());
}

TEST(LibraryDiscovery, EmptyResultsGiveOneSnapshotAndScreenshotsOnlyNoInterim)
{
    Fixture f;
    f.state->results.gathering = true;
    f.discovery.start(MediaKind::Image, false, f.receiver());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.received.isEmpty(); }));
    // A new pass starts only after the last one ended, so its snapshot comes
    // after everything the first pass sent.
    f.state->results.items = {item("/p/later.jpg")};
    f.state->changed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.received.last().files.size() == 1; }));
    ASSERT_EQ(f.received.size(), 2);
    EXPECT_TRUE(f.received[0].files.isEmpty());
    EXPECT_TRUE(f.received[0].gathering); // as the index says

    Fixture shots;
    for (int i = 0; i < 500; ++i)
        shots.state->results.items << item(QStringLiteral("/p/%1.jpg").arg(i));
    shots.discovery.start(MediaKind::Image, true, shots.receiver());
    ASSERT_TRUE(shots.waitForFinal());
    ASSERT_EQ(shots.received.size(), 1);
    EXPECT_TRUE(shots.received[0].files.isEmpty());
}

TEST(LibraryDiscovery, LargeResultsArriveInGrowingSnapshots)
{
    Fixture f;
    for (int i = 0; i < 20000; ++i)
        f.state->results.items << item(QStringLiteral("/many/file%1.txt").arg(i));
    f.discovery.start(MediaKind::Other, false, f.receiver());
    ASSERT_TRUE(f.waitForFinal());
    ASSERT_GE(f.received.size(), 2);
    EXPECT_TRUE(f.received.first().gathering);
    EXPECT_LT(f.received.first().files.size(), 20000);
    for (qsizetype i = 1; i < f.received.size(); ++i)
        EXPECT_GE(f.received[i].files.size(), f.received[i - 1].files.size());
    EXPECT_EQ(f.received.last().files.size(), 20000);
}

TEST(LibraryDiscovery, TheFirstPageIsShownWhileTheIndexStillReads)
{
    // An index that sends one page and then takes its time with the rest.
    class PagedIndex : public FileIndex {
    public:
        QPromise<IndexResults> promise;
        bool start(MediaKind, std::function<void()>) override { return true; }
        void stop() override {}
        QFuture<IndexResults> results() override
        {
            promise.start();
            IndexResults first;
            first.gathering = true;
            for (int i = 0; i < 64; ++i)
                first.items << item(QStringLiteral("/p/new%1.jpg").arg(i));
            promise.addResult(first);
            return promise.future();
        }
    };
    auto owned = std::make_unique<PagedIndex>();
    PagedIndex* index = owned.get();
    TrackerLibraryDiscovery discovery(std::move(owned));
    QList<LibrarySnapshot> received;
    discovery.start(MediaKind::Image, false, [&](const LibrarySnapshot& s) { received << s; });
    // The page may be converted in more than one slice on a slow build; it is
    // shown whole before the rest of the index has been read.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !received.isEmpty() && received.last().files.size() == 64; }, 5000));
    EXPECT_TRUE(received.last().gathering);

    IndexResults rest;
    for (int i = 0; i < 1000; ++i)
        rest.items << item(QStringLiteral("/p/old%1.jpg").arg(i));
    index->promise.addResult(rest, 1);
    index->promise.finish();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !received.last().gathering; }));
    EXPECT_EQ(received.last().files.size(), 1064);
    EXPECT_EQ(received.last().files.first().name, "new0.jpg");
    EXPECT_EQ(received.last().files.last().name, "old999.jpg");
    discovery.stop();
}

TEST(LibraryDiscovery, StopStartAndBurstsOfChanges)
{
    Fixture f;
    f.state->results.items = {item("/a")};
    f.state->holdReads = true;
    f.discovery.start(MediaKind::Other, false, f.receiver());
    ASSERT_EQ(f.state->reads, 1);
    // Three notifications during one pass: exactly one more pass.
    f.state->changed();
    f.state->changed();
    f.state->changed();
    EXPECT_EQ(f.state->reads, 1);
    f.state->releaseHeld();
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.state->reads == 2; }));
    f.state->releaseHeld();
    ASSERT_TRUE(f.waitForFinal(2));
    deliverQueued();
    EXPECT_EQ(f.state->reads, 2);

    // Stopped during a pass: nobody hears of it.
    f.received.clear();
    f.state->changed();
    f.discovery.stop();
    f.state->releaseHeld();
    deliverQueued();
    EXPECT_TRUE(f.received.isEmpty());

    // Started twice: only the second receiver gets snapshots.
    QList<LibrarySnapshot> first;
    f.discovery.start(MediaKind::Other, false, [&](const LibrarySnapshot& s) { first << s; });
    f.discovery.start(MediaKind::Other, false, f.receiver());
    f.state->releaseHeld();
    ASSERT_TRUE(f.waitForFinal());
    EXPECT_TRUE(first.isEmpty());
}

TEST(LibraryDiscovery, AnUnreachableIndexGivesTheMessage)
{
    Fixture f;
    f.state->reachable = false;
    f.discovery.start(MediaKind::Image, false, f.receiver());
    ASSERT_EQ(f.received.size(), 1);
    EXPECT_EQ(f.received[0].message, TrackerLibraryDiscovery::unavailableMessage());
    EXPECT_FALSE(f.received[0].gathering);
    EXPECT_TRUE(f.received[0].files.isEmpty());
}
