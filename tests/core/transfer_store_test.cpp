#include "event_loop.h"
#include "serial_executor.h"
#include "test_support.h"
#include "transfer_store.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

// An engine whose copies wait until the test lets them end, one way or another.
class LatchEngine : public TransferEngine {
public:
    enum class Outcome { Pending, Succeed, Fail };

    QFuture<void> start(const QString& source, const QString&, ProgressHandler progress,
                        CancelCheck isCancelled) override
    {
        return executor_.run([=, this](const CancelCheck&) {
            {
                std::lock_guard lock(mutex_);
                started_.append(QFileInfo(source).fileName());
            }
            progress({0, 100});
            std::unique_lock lock(mutex_);
            for (;;) {
                const Outcome outcome = outcomes_.value(QFileInfo(source).fileName());
                if (outcome != Outcome::Pending) {
                    outcomes_.remove(QFileInfo(source).fileName());
                    lock.unlock();
                    if (outcome == Outcome::Fail)
                        throw FileError(FileError::Code::FileReadUnknown, source);
                    progress({100, 100});
                    return;
                }
                if (isCancelled()) throw Cancelled();
                wake_.wait_for(lock, std::chrono::milliseconds(5));
            }
        });
    }

    void release(const QString& name, Outcome outcome)
    {
        std::lock_guard lock(mutex_);
        outcomes_[name] = outcome;
        wake_.notify_all();
    }

    QStringList started()
    {
        std::lock_guard lock(mutex_);
        return started_;
    }

private:
    std::mutex mutex_;
    std::condition_variable wake_;
    QHash<QString, Outcome> outcomes_;
    QStringList started_;
    SerialExecutor executor_; // last: its thread stops before the rest goes
};

QList<TransferStatus> statusesOf(const TransferStore& store)
{
    QList<TransferStatus> result;
    for (const TransferItem& item : store.items())
        result.append(item.status);
    return result;
}

using S = TransferStatus;

} // namespace

TEST(TransferItem, StatusTextsAndNames)
{
    EXPECT_EQ(rawValue(S::Queued), "Queued");
    EXPECT_EQ(rawValue(S::Copying), "Copying");
    EXPECT_EQ(rawValue(S::Completed), "Completed");
    EXPECT_EQ(rawValue(S::Failed), "Failed");
    EXPECT_EQ(rawValue(S::Cancelled), "Cancelled");
    const TransferItem item(QStringLiteral("/photos/trip.jpg"), QStringLiteral("/backup"));
    EXPECT_EQ(item.name(), "trip.jpg");
    EXPECT_EQ(item.destination(), "/backup");
    EXPECT_EQ(item.status, S::Queued);
    EXPECT_NE(item.id, TransferItem(item.source, item.destinationFolder).id);
}

TEST(TransferStore, RunsOneJobAtATimeInQueueOrderWhateverTheOutcome)
{
    ensureApplication();
    auto engine = std::make_shared<LatchEngine>();
    TransferStore store(engine);
    int changes = 0;
    QObject::connect(&store, &TransferStore::itemsChanged, [&] { ++changes; });

    store.enqueue({"/src/a", "/src/b", "/src/c"}, "/dest");
    EXPECT_EQ(statusesOf(store), (QList<S>{S::Copying, S::Queued, S::Queued}));
    EXPECT_EQ(store.activeID(), store.items()[0].id);
    EXPECT_GE(changes, 2);
    ASSERT_TRUE(waitFor([&] { return store.items()[0].total == 100; }));
    EXPECT_EQ(engine->started(), QStringList{"a"});

    engine->release("a", LatchEngine::Outcome::Fail);
    ASSERT_TRUE(waitFor([&] { return store.items()[1].status == S::Copying; }));
    EXPECT_EQ(store.items()[0].status, S::Failed);
    EXPECT_TRUE(store.items()[0].error.value_or("").contains("a"));
    EXPECT_EQ(store.items()[2].status, S::Queued);
    EXPECT_EQ(store.activeID(), store.items()[1].id);

    engine->release("b", LatchEngine::Outcome::Succeed);
    ASSERT_TRUE(waitFor([&] { return store.items()[2].status == S::Copying; }));
    EXPECT_EQ(store.items()[1].status, S::Completed);
    EXPECT_EQ(store.items()[1].bytes, 100);
    engine->release("c", LatchEngine::Outcome::Succeed);
    ASSERT_TRUE(waitFor([&] { return !store.activeID(); }));
    EXPECT_EQ(statusesOf(store), (QList<S>{S::Failed, S::Completed, S::Completed}));
    EXPECT_EQ(engine->started(), (QStringList{"a", "b", "c"}));
    // Finished jobs stay; completed ones can't be retried or cancelled.
    store.retry(store.items()[1].id);
    store.cancel(store.items()[2].id);
    store.cancel(QUuid::createUuid());
    EXPECT_EQ(statusesOf(store), (QList<S>{S::Failed, S::Completed, S::Completed}));
}

TEST(TransferStore, CancelAndRetry)
{
    ensureApplication();
    auto engine = std::make_shared<LatchEngine>();
    TransferStore store(engine);
    store.enqueue({"/src/a", "/src/b", "/src/c"}, "/dest");
    const QUuid a = store.items()[0].id, b = store.items()[1].id, c = store.items()[2].id;

    // Queued: cancelled at once and skipped.
    store.cancel(b);
    EXPECT_EQ(statusesOf(store), (QList<S>{S::Copying, S::Cancelled, S::Queued}));
    // Running: stays "Copying" until the engine stops.
    store.cancel(a);
    EXPECT_EQ(store.items()[0].status, S::Copying);
    ASSERT_TRUE(waitFor([&] { return store.items()[2].status == S::Copying; }));
    EXPECT_EQ(store.items()[0].status, S::Cancelled);
    EXPECT_EQ(store.items()[1].status, S::Cancelled);
    EXPECT_TRUE(waitFor([&] { return engine->started() == QStringList{"a", "c"}; }));

    // Retried while c runs: waits its turn in its own place.
    store.retry(b);
    store.retry(a);
    EXPECT_EQ(statusesOf(store), (QList<S>{S::Queued, S::Queued, S::Copying}));
    EXPECT_EQ(store.items()[0].bytes, 0);
    EXPECT_EQ(store.items()[0].total, 100) << "the last total stays";
    engine->release("c", LatchEngine::Outcome::Fail);
    ASSERT_TRUE(waitFor([&] { return store.items()[0].status == S::Copying; }));
    EXPECT_EQ(store.items()[2].status, S::Failed);
    EXPECT_TRUE(store.items()[2].error.has_value());

    // Retrying a failed job clears its error; it runs at once when idle.
    engine->release("a", LatchEngine::Outcome::Succeed);
    engine->release("b", LatchEngine::Outcome::Succeed);
    ASSERT_TRUE(waitFor([&] { return !store.activeID(); }));
    store.retry(c);
    EXPECT_EQ(store.items()[2].status, S::Copying);
    EXPECT_FALSE(store.items()[2].error.has_value());
    EXPECT_EQ(store.items()[2].bytes, 0);
    engine->release("c", LatchEngine::Outcome::Succeed);
    ASSERT_TRUE(waitFor([&] { return !store.activeID(); }));
    EXPECT_EQ(statusesOf(store), (QList<S>{S::Completed, S::Completed, S::Completed}));
    EXPECT_EQ(engine->started(), (QStringList{"a", "c", "a", "b", "c"}));

    // Clear-completed, from outside.
    QList<TransferItem> kept;
    store.setItems(kept);
    EXPECT_TRUE(store.items().isEmpty());
}

TEST(TransferStore, RealCopiesEndCompletedOrFailedWithTheReason)
{
    ensureApplication();
    TempTree tree;
    tree.folder(QStringLiteral("empty"));
    tree.file(QStringLiteral("taken.txt"), "new");
    tree.file(QStringLiteral("movie.bin"), QByteArray(8 << 20, 'm'));
    const QString dest = tree.folder(QStringLiteral("dest"));
    tree.file(QStringLiteral("dest/taken.txt"), "old");

    TransferStore store;
    store.enqueue({tree.path(QStringLiteral("empty")), tree.path(QStringLiteral("taken.txt")),
                   tree.path(QStringLiteral("movie.bin"))},
                  dest);
    ASSERT_TRUE(waitFor([&] { return !store.activeID(); }));
    const TransferItem& empty = store.items()[0];
    EXPECT_EQ(empty.status, S::Completed);
    EXPECT_EQ(empty.bytes, 0);
    EXPECT_EQ(empty.total, 0);
    const TransferItem& taken = store.items()[1];
    EXPECT_EQ(taken.status, S::Failed);
    EXPECT_EQ(taken.error.value_or(""),
              FileError(FileError::Code::FileWriteFileExists, dest + QStringLiteral("/taken.txt"))
                  .message());
    // The failure doesn't stop the queue.
    EXPECT_EQ(store.items()[2].status, S::Completed);
    EXPECT_EQ(store.items()[2].bytes, 8 << 20);
    EXPECT_EQ(store.items()[2].total, 8 << 20);
    EXPECT_EQ(QDir(dest).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"empty", "movie.bin", "taken.txt"}));
}
