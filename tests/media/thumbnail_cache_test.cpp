#include "media/thumbnail_cache.h"
#include "media/thumbnail_store.h"

#include <gtest/gtest.h>

namespace {

QImage picture(int edge)
{
    QImage image(edge, edge, QImage::Format_RGB32);
    image.fill(Qt::gray);
    return image;
}

QString key(int i)
{
    return QStringLiteral("k%1").arg(i);
}

TEST(ThumbnailCache, EvictsLeastRecentlyUsedByCount)
{
    ThumbnailCache cache(3, 1000);
    for (int i = 0; i < 3; ++i)
        cache.insert(key(i), picture(1), 1);
    EXPECT_FALSE(cache.object(key(0)).isNull()); // k1 is now the oldest use
    cache.insert(key(3), picture(1), 1);
    EXPECT_EQ(cache.count(), 3);
    EXPECT_FALSE(cache.contains(key(1)));
    EXPECT_TRUE(cache.contains(key(0)) && cache.contains(key(2)) && cache.contains(key(3)));

    // Replacing a key neither grows the count nor keeps the old cost.
    cache.insert(key(3), picture(1), 5);
    EXPECT_EQ(cache.count(), 3);
    EXPECT_EQ(cache.totalCost(), 7);
}

TEST(ThumbnailCache, EvictsByTotalCostAndRefusesWhatExceedsIt)
{
    ThumbnailCache cache(100, 10);
    cache.insert(key(0), picture(1), 4);
    cache.insert(key(1), picture(1), 4);
    cache.insert(key(2), picture(1), 4);
    EXPECT_EQ(cache.count(), 2);
    EXPECT_EQ(cache.totalCost(), 8);
    EXPECT_FALSE(cache.contains(key(0)));

    cache.insert(key(3), picture(1), 11);
    EXPECT_FALSE(cache.contains(key(3)));
    EXPECT_EQ(cache.totalCost(), 8);
}

TEST(ThumbnailCache, StoreLimitsHold400SmallOrTwoZoomPictures)
{
    ThumbnailCache small;
    for (int i = 0; i < 450; ++i)
        small.insert(key(i), picture(1), ThumbnailStore::costOf(64));
    EXPECT_EQ(small.count(), 400);

    ThumbnailCache zoomed;
    EXPECT_EQ(ThumbnailStore::costOf(2400), 23040000);
    for (int i = 0; i < 3; ++i)
        zoomed.insert(key(i), picture(1), ThumbnailStore::costOf(2400));
    EXPECT_EQ(zoomed.count(), 2);
    EXPECT_LE(zoomed.totalCost(), 64 * 1024 * 1024);
}

TEST(ThumbnailCache, KeyHoldsPathDateSizeAndEdgeInShortestForm)
{
    FileEntry file = FileEntry::indexed(QStringLiteral("/p/a b.jpg"), 1234,
                                        QDateTime::fromMSecsSinceEpoch(1700000000500), false);
    EXPECT_EQ(ThumbnailStore::cacheKey(file, 320),
              QStringLiteral("/p/a b.jpg|1700000000.5|1234|320"));
    EXPECT_EQ(ThumbnailStore::cacheKey(file, 160.5),
              QStringLiteral("/p/a b.jpg|1700000000.5|1234|160.5"));
}

} // namespace
