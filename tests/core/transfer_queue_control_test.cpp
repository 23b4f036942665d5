#include "event_loop.h"
#include "temporary_trash.h"
#include "test_support.h"
#include "transfer_service.h"
#include "transfer_store.h"

#include <QDir>
#include <QFile>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

constexpr qint64 kMiB = 1 << 20;

// Real copies whose first report after data moved waits until the test lets
// it go, so the test can act while a copy is known to be halfway.
class GatedCopies : public TransferEngine {
public:
    QFuture<void> start(const QString& source, const QString& destination, ProgressHandler progress,
                        CancelCheck isCancelled) override
    {
        return real_.start(source, destination, std::move(progress), std::move(isCancelled));
    }

    QFuture<TransferOutcome> transfer(const Request& request, Handlers handlers) override
    {
        auto forward = handlers.progress;
        handlers.progress = [this, forward](const CopyProgress& p) {
            forward(p);
            if (p.bytes == 0 || p.bytes == p.total) return;
            std::unique_lock lock(mutex_);
            halfway_ = true;
            wake_.notify_all();
            wake_.wait(lock, [this] { return released_; });
        };
        return real_.transfer(request, std::move(handlers));
    }

    bool halfway()
    {
        std::lock_guard lock(mutex_);
        return halfway_;
    }
    void release()
    {
        std::lock_guard lock(mutex_);
        released_ = true;
        wake_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    bool halfway_ = false;
    bool released_ = false;
    TransferService real_;
};

QStringList finishedNames(TransferStore& store, QStringList& into)
{
    QObject::connect(&store, &TransferStore::itemFinished,
                     [&into](const TransferItem& item) { into.append(item.name()); });
    return into;
}

bool allDone(const TransferStore& store)
{
    for (const TransferItem& item : store.items())
        if (item.status == TransferStatus::Queued || item.status == TransferStatus::Copying)
            return false;
    return true;
}

} // namespace

TEST(TransferQueueControl, APausedCopyHoldsBetweenChunksAndResumesByteIdentical)
{
    ensureApplication();
    TempTree tree;
    QByteArray data(6 * kMiB, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char((i * 7919) >> 8);
    const QString source = tree.file("movie.bin", data);
    const QString dest = tree.folder("dest");
    auto engine = std::make_shared<GatedCopies>();
    TransferStore store(engine);
    store.enqueue({source}, dest);
    const QUuid id = store.items()[0].id;
    ASSERT_TRUE(waitFor([&] { return engine->halfway(); }));

    store.pause(id);
    EXPECT_TRUE(store.items()[0].paused);
    engine->release();
    // Held: the copy stays hidden and locked under its temporary name.
    ASSERT_TRUE(waitFor([&] { return store.items()[0].bytes > 0; }));
    EXPECT_EQ(store.items()[0].status, TransferStatus::Copying);
    EXPECT_EQ(partialCopiesIn(dest).size(), 1);
    TransferService::removeStaleTemporaryItems(dest);
    EXPECT_EQ(partialCopiesIn(dest).size(), 1) << "a paused copy keeps its lock";
    EXPECT_FALSE(QFile::exists(dest + "/movie.bin"));
    EXPECT_LT(store.items()[0].bytes, qint64(data.size()));

    store.resume(id);
    ASSERT_TRUE(waitFor([&] { return allDone(store); }));
    EXPECT_EQ(store.items()[0].status, TransferStatus::Completed);
    EXPECT_EQ(contentsOf(dest + "/movie.bin"), data);
    EXPECT_TRUE(partialCopiesIn(dest).isEmpty());
}

TEST(TransferQueueControl, PausingTheQueueHoldsTheRunningCopyToo)
{
    ensureApplication();
    TempTree tree;
    const QByteArray data(5 * kMiB, 'q');
    const QString first = tree.file("first.bin", data);
    const QString second = tree.file("second.bin", "2");
    const QString dest = tree.folder("dest");
    auto engine = std::make_shared<GatedCopies>();
    TransferStore store(engine);
    QList<bool> pausedSignals;
    QObject::connect(&store, &TransferStore::queuePausedChanged,
                     [&](bool paused) { pausedSignals.append(paused); });
    store.enqueue({first, second}, dest);
    ASSERT_TRUE(waitFor([&] { return engine->halfway(); }));

    store.setQueuePaused(true);
    engine->release();
    EXPECT_TRUE(store.isQueuePaused());
    EXPECT_FALSE(store.items()[0].paused) << "the job itself was not paused";
    EXPECT_EQ(store.items()[0].status, TransferStatus::Copying);
    EXPECT_EQ(store.items()[1].status, TransferStatus::Queued);
    EXPECT_EQ(partialCopiesIn(dest).size(), 1);
    EXPECT_FALSE(QFile::exists(dest + "/first.bin"));

    store.setQueuePaused(false);
    ASSERT_TRUE(waitFor([&] { return allDone(store); }));
    EXPECT_EQ(contentsOf(dest + "/first.bin"), data);
    EXPECT_EQ(contentsOf(dest + "/second.bin"), "2");
    EXPECT_EQ(pausedSignals, (QList<bool>{true, false}));
}

TEST(TransferQueueControl, APausedQueueStartsNothingAndQueuedJobsCanBeReordered)
{
    ensureApplication();
    TempTree tree;
    const QString a = tree.file("a.txt", QByteArray(1000, 'a'));
    const QString b = tree.file("b.txt", QByteArray(2000, 'b'));
    tree.file("c/one.txt", QByteArray(300, 'c'));
    tree.file("c/.two", QByteArray(200, 'c'));
    const QString dest = tree.folder("dest");
    TransferStore store;
    QStringList order;
    finishedNames(store, order);
    store.setQueuePaused(true);
    store.enqueue({a, b, tree.path("c")}, dest);
    EXPECT_FALSE(store.activeID().has_value());
    ASSERT_TRUE(waitFor([&] { return store.remainingBytes() == 3500; })) << store.remainingBytes();
    EXPECT_FALSE(store.remainingSeconds().has_value()) << "nothing was copied yet";

    const QUuid idA = store.items()[0].id, idC = store.items()[2].id;
    EXPECT_TRUE(store.moveItem(idC, 0));
    EXPECT_FALSE(store.moveItem(idC, 3));
    store.pause(idA);
    store.setQueuePaused(false);
    ASSERT_TRUE(waitFor([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (QStringList{"c", "b.txt"}));
    EXPECT_EQ(store.items()[1].status, TransferStatus::Queued) << "a paused job waits";
    EXPECT_EQ(store.remainingBytes(), 1000);

    store.resume(idA);
    ASSERT_TRUE(waitFor([&] { return allDone(store); }));
    EXPECT_EQ(order, (QStringList{"c", "b.txt", "a.txt"}));
    EXPECT_EQ(store.remainingBytes(), 0);
    EXPECT_FALSE(store.moveItem(idA, 0)) << "only queued jobs move";
}

TEST(TransferQueueControl, ConflictsAreAskedOnceAndApplyToAllHoldsForTheBatch)
{
    ensureApplication();
    temporaryTrash();
    TempTree tree;
    const QString a = tree.file("src/a.txt", "new a");
    const QString b = tree.file("src/b.txt", "new b");
    const QString dest = tree.folder("dest");
    tree.file("dest/a.txt", "old a");
    tree.file("dest/b.txt", "old b");
    TransferStore store;
    QList<NameConflict> asked;
    QObject::connect(&store, &TransferStore::conflictRaised,
                     [&](const QUuid& id, const NameConflict& conflict) {
                         asked.append(conflict);
                         EXPECT_EQ(store.items()[0].conflict, conflict);
                         store.answerConflict(id, {ConflictAnswer::KeepBoth, true});
                     });
    store.enqueue({a, b}, dest, TransferKind::Copy, ConflictPolicy::Ask);
    ASSERT_TRUE(waitFor([&] { return allDone(store); }));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].existing, dest + "/a.txt");
    EXPECT_EQ(QDir(dest).entryList(QDir::Files),
              (QStringList{"a (2).txt", "a.txt", "b (2).txt", "b.txt"}));
    EXPECT_EQ(store.items()[1].outcome->placed.value(0).to, dest + "/b (2).txt");
    EXPECT_FALSE(store.items()[0].conflict.has_value());

    // A fixed policy asks nothing; a move hands back where its item went.
    store.enqueue({a}, dest, TransferKind::Move, ConflictPolicy::Replace);
    ASSERT_TRUE(waitFor([&] { return allDone(store); }));
    EXPECT_EQ(asked.size(), 1);
    EXPECT_FALSE(QFile::exists(a));
    EXPECT_EQ(contentsOf(dest + "/a.txt"), "new a");
    ASSERT_TRUE(store.items()[2].outcome->placed.value(0).replaced.has_value());
}

TEST(TransferQueueControl, CancellingAJobThatWaitsForAnAnswerLeavesNothing)
{
    ensureApplication();
    TempTree tree;
    const QString a = tree.file("src/a.txt", "new a");
    const QString dest = tree.folder("dest");
    tree.file("dest/a.txt", "old a");
    TransferStore store;
    store.enqueue({a}, dest, TransferKind::Copy, ConflictPolicy::Ask);
    ASSERT_TRUE(waitFor([&] { return store.items()[0].conflict.has_value(); }));
    store.cancel(store.items()[0].id);
    ASSERT_TRUE(waitFor([&] { return allDone(store); }));
    EXPECT_EQ(store.items()[0].status, TransferStatus::Cancelled);
    EXPECT_EQ(QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"a.txt"});
    EXPECT_EQ(contentsOf(dest + "/a.txt"), "old a");
}

TEST(TransferRate, EstimatesFromCopyingTimeOnly)
{
    TransferRate rate;
    rate.add(1000, 500);
    EXPECT_FALSE(rate.secondsFor(5000).has_value());
    rate.add(1000, 500);
    EXPECT_EQ(rate.secondsFor(5000), 3); // 2000 B/s, rounded up
    rate.add(0, 0);
    EXPECT_EQ(rate.secondsFor(0), 0);
}
