#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <list>

// Finished thumbnails by key, limited both in number and in total cost; the
// least recently used pictures go first when either limit is passed.
class ThumbnailCache {
public:
    static constexpr int defaultCountLimit = 400;
    static constexpr qint64 defaultCostLimit = 64 * 1024 * 1024;

    explicit ThumbnailCache(int countLimit = defaultCountLimit,
                            qint64 costLimit = defaultCostLimit);

    // Null when absent; a hit counts as a use.
    QImage object(const QString& key);
    bool contains(const QString& key) const { return index_.contains(key); }
    // A picture costing more than the whole limit is not kept.
    void insert(const QString& key, const QImage& image, qint64 cost);

    int count() const { return int(index_.size()); }
    qint64 totalCost() const { return totalCost_; }
    int countLimit() const { return countLimit_; }
    qint64 costLimit() const { return costLimit_; }

private:
    struct Entry {
        QString key;
        QImage image;
        qint64 cost;
    };
    void remove(std::list<Entry>::iterator entry);
    void trim();

    int countLimit_;
    qint64 costLimit_;
    qint64 totalCost_ = 0;
    std::list<Entry> entries_; // most recently used first
    QHash<QString, std::list<Entry>::iterator> index_;
};
