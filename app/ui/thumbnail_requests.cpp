#include "ui/thumbnail_requests.h"

#include "media/thumbnail_store.h"
#include "when_finished.h"

#include <QTimer>
#include <algorithm>

namespace {

// Removes the items older than the given share of them, in one pass.
template <typename Hash, typename Age> void dropOldest(Hash& items, double share, Age age)
{
    QList<quint64> ages;
    ages.reserve(items.size());
    for (const auto& item : std::as_const(items))
        ages << age(item);
    auto cut = ages.begin() + qsizetype(double(ages.size()) * share);
    std::nth_element(ages.begin(), cut, ages.end());
    const quint64 oldest = *cut;
    items.removeIf([&](const auto& entry) { return age(entry.value()) < oldest; });
}

} // namespace

ThumbnailRequests::ThumbnailRequests(int limit, QObject* parent)
    : QObject(parent), limit_(std::max(1, limit)), settle_(new QTimer(this)),
      nextTurn_(new QTimer(this))
{
    settle_->setSingleShot(true);
    settle_->setInterval(settleMs);
    connect(settle_, &QTimer::timeout, this, &ThumbnailRequests::startWanted);
    nextTurn_->setSingleShot(true);
    nextTurn_->setInterval(0);
    connect(nextTurn_, &QTimer::timeout, this, &ThumbnailRequests::startWanted);
}

ThumbnailRequests::~ThumbnailRequests()
{
    clear();
}

QImage ThumbnailRequests::image(const FileEntry& file, qreal edge)
{
    const Key key{file.path, edge};
    auto found = pictures_.find(key);
    if (found != pictures_.end() && found->modified == file.modified) {
        found->age = ++clock_;
        return found->image;
    }
    if (pending_.contains(key)) return {};
    if (!wanted_.contains(key)) {
        if (wanted_.size() >= wishLimit)
            dropOldest(wanted_, 0.5, [](const Wish& wish) { return wish.order; });
        wanted_.insert(key, Wish{file, ++clock_});
        // Still scrolling while new items keep coming in: wait for it to settle.
        nextTurn_->stop();
        settle_->start();
    }
    return {};
}

void ThumbnailRequests::startWanted()
{
    int started = 0;
    for (auto it = wanted_.begin(); it != wanted_.end() && started < startsPerTurn; ++started) {
        const Key key = it.key();
        const FileEntry file = it.value().file;
        it = wanted_.erase(it);
        request(key, file);
    }
    if (!wanted_.isEmpty()) nextTurn_->start();
}

void ThumbnailRequests::request(const Key& key, const FileEntry& file)
{
    const qreal edge = key.edge;
    QFuture<QImage> request = ThumbnailStore::shared().thumbnail(file, edge);
    const quint64 ticket = ++clock_;
    pending_.insert(key, Pending{request, ticket});
    const QDateTime modified = file.modified;
    whenFinished(request, this, [this, key, modified, ticket](QFuture<QImage> done) {
        auto waiting = pending_.find(key);
        if (waiting == pending_.end() || waiting->ticket != ticket) return;
        pending_.erase(waiting);
        // A null picture is kept too, so the placeholder stays without asking again.
        const QImage image = done.resultCount() > 0 ? done.result() : QImage();
        pictures_.insert(key, Picture{image, modified, ++clock_});
        // Drop the oldest quarter in one go rather than one per arrival.
        if (pictures_.size() > limit_)
            dropOldest(pictures_, 0.25, [](const Picture& picture) { return picture.age; });
        Q_EMIT ready(key.path);
    });
}

void ThumbnailRequests::keepOnly(const QSet<QString>& paths)
{
    wanted_.removeIf([&paths](const auto& entry) { return !paths.contains(entry.key().path); });
    settle_->stop();
    startWanted();
    for (auto it = pending_.begin(); it != pending_.end();) {
        if (paths.contains(it.key().path)) {
            ++it;
        } else {
            it->future.cancel();
            it = pending_.erase(it);
        }
    }
}

void ThumbnailRequests::clear()
{
    for (Pending& request : pending_)
        request.future.cancel();
    pending_.clear();
    pictures_.clear();
    wanted_.clear();
    settle_->stop();
    nextTurn_->stop();
}
