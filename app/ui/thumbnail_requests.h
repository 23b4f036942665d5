#pragma once

#include "file_entry.h"

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>

class QTimer;

// The thumbnails one view has asked the shared store for. A delegate asks for
// a picture while painting; when it arrives `ready` names the path so the
// view repaints that item. Asking only notes the wish: requests start once
// scrolling settles, a few per event-loop turn, so a fast scroll never starts
// hundreds at once and stays smooth. Wishes and requests for items that
// scrolled away are dropped with keepOnly(). Pictures are kept per path and
// edge for the view's life (bounded: the oldest are dropped past `limit`).
class ThumbnailRequests : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailRequests(int limit = 600, QObject* parent = nullptr);
    ~ThumbnailRequests() override;

    // How long asking must pause before requests start, and how many start per turn.
    static constexpr int settleMs = 80;
    static constexpr int startsPerTurn = 6;
    // Wishes kept while scrolling never settles; past it the older half,
    // long scrolled away, is dropped (what is still shown asks again).
    static constexpr int wishLimit = 512;

    // The picture if it has arrived; otherwise null, and a request is due
    // unless one is on the way or the store had none to give.
    QImage image(const FileEntry& file, qreal edge);
    // Drops the wishes and cancels the requests whose path is not in `paths`;
    // the rest start now (the caller knows scrolling has settled).
    void keepOnly(const QSet<QString>& paths);
    void clear();
    // Requests started and not yet answered.
    int pending() const { return int(pending_.size()); }
    // Pictures asked for and not yet requested.
    int wanted() const { return int(wanted_.size()); }
    // Whether `ready` will name the path for this edge (asked for, not answered).
    bool isAwaited(const QString& path, qreal edge) const
    {
        return pending_.contains({path, edge}) || wanted_.contains({path, edge});
    }

Q_SIGNALS:
    void ready(const QString& path);

private:
    struct Key {
        QString path;
        qreal edge;
        friend bool operator==(const Key&, const Key&) = default;
    };
    friend size_t qHash(const Key& key, size_t seed)
    {
        return qHashMulti(seed, key.path, key.edge);
    }
    struct Picture {
        QImage image;
        QDateTime modified;
        quint64 age = 0;
    };

    struct Wish {
        FileEntry file;
        quint64 order = 0;
    };

    struct Pending {
        QFuture<QImage> future;
        quint64 ticket = 0;
    };

    void request(const Key& key, const FileEntry& file);
    // Starts up to startsPerTurn wishes, and the rest on later turns.
    void startWanted();

    int limit_;
    QTimer* settle_;
    QTimer* nextTurn_;
    QHash<Key, Wish> wanted_;
    quint64 clock_ = 0;
    QHash<Key, Picture> pictures_;
    QHash<Key, Pending> pending_;
};
