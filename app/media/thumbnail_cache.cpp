#include "media/thumbnail_cache.h"

ThumbnailCache::ThumbnailCache(int countLimit, qint64 costLimit)
    : countLimit_(countLimit), costLimit_(costLimit)
{
}

QImage ThumbnailCache::object(const QString& key)
{
    const auto found = index_.constFind(key);
    if (found == index_.constEnd()) return {};
    entries_.splice(entries_.begin(), entries_, *found);
    return entries_.front().image;
}

void ThumbnailCache::insert(const QString& key, const QImage& image, qint64 cost)
{
    if (const auto found = index_.constFind(key); found != index_.constEnd()) remove(*found);
    if (cost < 0 || cost > costLimit_ || countLimit_ <= 0) return;
    entries_.push_front({key, image, cost});
    index_.insert(key, entries_.begin());
    totalCost_ += cost;
    trim();
}

void ThumbnailCache::remove(std::list<Entry>::iterator entry)
{
    totalCost_ -= entry->cost;
    index_.remove(entry->key);
    entries_.erase(entry);
}

void ThumbnailCache::trim()
{
    while (!entries_.empty() && (count() > countLimit_ || totalCost_ > costLimit_))
        remove(std::prev(entries_.end()));
}
