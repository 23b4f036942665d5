#include "ui/thumbnail_requests.h"

#include "media/thumbnail_store.h"
#include "when_finished.h"

#include <QTimer>
#include <algorithm>

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
        wanted_.insert(key, file);
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
        const FileEntry file = it.value();
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
        if (pictures_.size() > limit_) {
            // Drop the oldest quarter in one go rather than one per arrival.
            QList<quint64> ages;
            ages.reserve(pictures_.size());
            for (const Picture& picture : std::as_const(pictures_))
                ages << picture.age;
            auto cut = ages.begin() + ages.size() / 4;
            std::nth_element(ages.begin(), cut, ages.end());
            const quint64 oldest = *cut;
            pictures_.removeIf([oldest](const auto& entry) { return entry.value().age < oldest; });
        }
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
