#include "media/media_fixtures.h"
#include "media/thumbnail_store.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

// Holds every generation until the test lets that file through, so the store's
// queue can be watched; records the order generations start in.
class BlockingGenerator : public ThumbnailGenerator {
public:
    QImage make(const FileEntry& file, int edge, const CancelCheck& isCancelled) override
    {
        std::unique_lock lock(mutex_);
        started_ << file.name;
        maxRunning_ = std::max(maxRunning_, ++running_);
        while (!released_.contains(file.name)) {
            if (isCancelled()) {
                cancelled_ << file.name;
                --running_;
                return {};
            }
            wake_.wait_for(lock, std::chrono::milliseconds(5));
        }
        --running_;
        if (file.name.startsWith(u"none")) return {};
        QImage image(edge, edge, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.setText(QStringLiteral("made-for"), file.name);
        return image;
    }

    void release(const QString& name)
    {
        std::lock_guard lock(mutex_);
        released_.insert(name);
        wake_.notify_all();
    }
    QStringList started() const
    {
        std::lock_guard lock(mutex_);
        return started_;
    }
    QStringList cancelled() const
    {
        std::lock_guard lock(mutex_);
        return cancelled_;
    }
    int maxRunning() const
    {
        std::lock_guard lock(mutex_);
        return maxRunning_;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    QSet<QString> released_;
    QStringList started_, cancelled_;
    int running_ = 0, maxRunning_ = 0;
};

class ThumbnailStoreTest : public testing::Test {
protected:
    TempTree tree;
    std::shared_ptr<BlockingGenerator> generator = std::make_shared<BlockingGenerator>();
    ThumbnailStore store{generator};

    FileEntry file(const QString& name)
    {
        const QString path = tree.path(name);
        if (!QFile::exists(path)) tree.file(name, "x");
        return FileEntry::fromPath(path);
    }
    static QImage answer(const QFuture<QImage>& future)
    {
        EXPECT_TRUE(waitLong([&] { return future.isFinished(); }));
        return future.resultCount() > 0 ? future.result() : QImage();
    }
};

TEST_F(ThumbnailStoreTest, FourGenerationsAtOnceTheRestInRequestOrder)
{
    QStringList names;
    QList<QFuture<QImage>> futures;
    for (int i = 0; i < 10; ++i) {
        names << QStringLiteral("f%1").arg(i);
        futures << store.thumbnail(file(names.back()), 320);
    }
    ASSERT_TRUE(waitLong([&] { return generator->started().size() == 4; }));
    // The first four start together, in whatever order their threads run.
    const QStringList first = generator->started();
    EXPECT_EQ(QSet<QString>(first.begin(), first.end()),
              QSet<QString>(names.begin(), names.begin() + 4));
    EXPECT_EQ(store.gate().waiting(), 6);

    // Each finished generation lets exactly the oldest waiter in.
    const QStringList finishOrder = {QStringLiteral("f2"), QStringLiteral("f0"),
                                     QStringLiteral("f4"), QStringLiteral("f1"),
                                     QStringLiteral("f3"), QStringLiteral("f6")};
    for (int i = 0; i < finishOrder.size(); ++i) {
        generator->release(finishOrder[i]);
        EXPECT_EQ(answer(futures[names.indexOf(finishOrder[i])]).text(QStringLiteral("made-for")),
                  finishOrder[i]);
        ASSERT_TRUE(waitLong([&] { return generator->started().size() == 5 + i; }));
        EXPECT_EQ(generator->started().back(), names[4 + i]);
        EXPECT_EQ(store.gate().active(), 4);
    }

    for (const QString& name : names)
        generator->release(name);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(answer(futures[i]).text(QStringLiteral("made-for")), names[i]);
    EXPECT_EQ(generator->started().mid(4), names.mid(4));
    EXPECT_LE(generator->maxRunning(), 4);
    EXPECT_EQ(store.gate().active(), 0);
    EXPECT_EQ(store.jobCount(), 0);
    EXPECT_EQ(store.cache().count(), 10);
}

TEST_F(ThumbnailStoreTest, SameKeyIsOneGenerationAndOtherEdgesAreNot)
{
    const FileEntry photo = file(QStringLiteral("photo.jpg"));
    QFuture<QImage> first = store.thumbnail(photo, 320);
    QFuture<QImage> second = store.thumbnail(photo, 320);
    QFuture<QImage> smaller = store.thumbnail(photo, 160);
    EXPECT_EQ(store.jobCount(), 2);
    generator->release(photo.name);
    const QImage a = answer(first), b = answer(second), c = answer(smaller);
    EXPECT_EQ(a.size(), QSize(320, 320));
    EXPECT_EQ(a.cacheKey(), b.cacheKey()); // the very same picture
    EXPECT_EQ(c.size(), QSize(160, 160));
    EXPECT_EQ(generator->started().size(), 2);
    EXPECT_EQ(store.cache().count(), 2);
    EXPECT_EQ(store.cache().totalCost(), 320 * 320 * 4 + 160 * 160 * 4);

    // Cached: answered at once, nothing generated.
    QFuture<QImage> again = store.thumbnail(photo, 320);
    EXPECT_TRUE(again.isFinished());
    EXPECT_EQ(again.result().cacheKey(), a.cacheKey());
    EXPECT_EQ(generator->started().size(), 2);

    // A new modification date is a new key, so the file is rendered anew.
    QFile touched(photo.path);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        touched.setFileTime(photo.modified.addSecs(-100), QFileDevice::FileModificationTime));
    touched.close();
    const QImage fresh = answer(store.thumbnail(FileEntry::fromPath(photo.path), 320));
    EXPECT_FALSE(fresh.isNull());
    EXPECT_EQ(generator->started().size(), 3);
}

TEST_F(ThumbnailStoreTest, LeavingWhileQueuedFreesTheQueuePlaceWithoutASlot)
{
    QList<QFuture<QImage>> running;
    for (int i = 0; i < 4; ++i)
        running << store.thumbnail(file(QStringLiteral("f%1").arg(i)), 64);
    QFuture<QImage> queued = store.thumbnail(file(QStringLiteral("gone")), 64);
    QFuture<QImage> later = store.thumbnail(file(QStringLiteral("later")), 64);
    EXPECT_EQ(store.gate().waiting(), 2);
    queued.cancel();
    ASSERT_TRUE(waitLong([&] { return store.gate().waiting() == 1; }));
    EXPECT_EQ(store.gate().active(), 4);
    EXPECT_EQ(store.jobCount(), 5);

    generator->release(QStringLiteral("f0"));
    generator->release(QStringLiteral("later"));
    EXPECT_FALSE(answer(later).isNull());
    EXPECT_TRUE(queued.isCanceled());
    EXPECT_FALSE(generator->started().contains(QStringLiteral("gone")));
    for (int i = 1; i < 4; ++i)
        generator->release(QStringLiteral("f%1").arg(i));
    for (const QFuture<QImage>& future : running)
        answer(future);
    EXPECT_EQ(store.gate().active(), 0);
}

TEST_F(ThumbnailStoreTest, LastWaiterLeavingCancelsTheGenerationOthersKeepIt)
{
    const FileEntry shared = file(QStringLiteral("shared"));
    QFuture<QImage> leaves = store.thumbnail(shared, 128);
    QFuture<QImage> stays = store.thumbnail(shared, 128);
    ASSERT_TRUE(waitLong([&] { return generator->started().size() == 1; }));
    leaves.cancel();
    ASSERT_TRUE(waitLong([&] { return leaves.isFinished(); }));
    EXPECT_EQ(store.jobCount(), 1);
    generator->release(shared.name);
    EXPECT_FALSE(answer(stays).isNull());
    EXPECT_TRUE(generator->cancelled().isEmpty());

    const FileEntry alone = file(QStringLiteral("alone"));
    QFuture<QImage> only = store.thumbnail(alone, 128);
    ASSERT_TRUE(waitLong([&] { return generator->started().size() == 2; }));
    only.cancel();
    ASSERT_TRUE(waitLong([&] { return generator->cancelled().contains(alone.name); }));
    EXPECT_EQ(store.jobCount(), 0);
    ASSERT_TRUE(waitLong([&] { return store.gate().active() == 0; }));
    EXPECT_FALSE(store.cache().contains(ThumbnailStore::cacheKey(alone, 128)));
    EXPECT_TRUE(only.isCanceled());

    // Asked again, it is a new generation.
    generator->release(alone.name);
    EXPECT_FALSE(answer(store.thumbnail(alone, 128)).isNull());
    EXPECT_EQ(generator->started().size(), 3);
}

TEST_F(ThumbnailStoreTest, NoPictureIsNotCachedSoTheNextRequestTriesAgain)
{
    const FileEntry odd = file(QStringLiteral("none.xyz"));
    generator->release(odd.name);
    EXPECT_TRUE(answer(store.thumbnail(odd, 256)).isNull());
    EXPECT_EQ(store.cache().count(), 0);
    EXPECT_TRUE(answer(store.thumbnail(odd, 256)).isNull());
    EXPECT_EQ(generator->started().size(), 2);
}

// Fails until told otherwise; stands in the type's icon for a failure.
class FlakyGenerator : public ThumbnailGenerator {
public:
    std::atomic_bool failing = true;

    QImage make(const FileEntry&, int edge, const CancelCheck&) override
    {
        return failing ? QImage() : filled(edge, Qt::darkCyan);
    }
    // The icons are found on a worker: finding the type may read the file.
    QStringList fallbackIcons(const FileEntry& file) override
    {
        iconsFoundOnGuiThread = QThread::currentThread() == qApp->thread();
        return {QStringLiteral("icon of ") + file.name};
    }
    QImage fallback(const FileEntry&, const QStringList& icons, int edge) override
    {
        fallbackIcons_ << icons;
        return filled(edge, Qt::gray);
    }
    std::atomic_bool iconsFoundOnGuiThread = true;
    QStringList fallbackIcons_; // GUI thread only

    static QImage filled(int edge, Qt::GlobalColor color)
    {
        QImage image(edge, edge, QImage::Format_RGB32);
        image.fill(color);
        return image;
    }
};

TEST_F(ThumbnailStoreTest, FallbackForAFailureIsShownButNotKept)
{
    auto flaky = std::make_shared<FlakyGenerator>();
    ThumbnailStore flakyStore(flaky);
    const FileEntry photo = file(QStringLiteral("photo.jpg"));
    EXPECT_EQ(answer(flakyStore.thumbnail(photo, 64)).pixelColor(1, 1), QColor(Qt::gray));
    EXPECT_EQ(flakyStore.cache().count(), 0);
    EXPECT_FALSE(flaky->iconsFoundOnGuiThread);
    EXPECT_EQ(flaky->fallbackIcons_, QStringList{QStringLiteral("icon of photo.jpg")});

    // The file became readable (a download finished): the next request makes its picture.
    flaky->failing = false;
    EXPECT_EQ(answer(flakyStore.thumbnail(photo, 64)).pixelColor(1, 1), QColor(Qt::darkCyan));
    EXPECT_EQ(flakyStore.cache().count(), 1);
}

} // namespace
