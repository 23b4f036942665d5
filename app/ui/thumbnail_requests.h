#pragma once

#include "file_entry.h"

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>

// The thumbnails one view has asked the shared store for. A delegate asks for
// a picture while painting; when it arrives `ready` names the path so the
// view repaints that item. Requests for items that scrolled away are cancelled
// with keepOnly(). Pictures are kept per path and edge for the view's life
// (bounded: the oldest are dropped past `limit`).
class ThumbnailRequests : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailRequests(int limit = 600, QObject* parent = nullptr);
    ~ThumbnailRequests() override;

    // The picture if it has arrived; otherwise null, and a request starts
    // unless one is on the way or the store had none to give.
    QImage image(const FileEntry& file, qreal edge);
    // Cancels the requests whose path is not in `paths`.
    void keepOnly(const QSet<QString>& paths);
    void clear();
    int pending() const { return int(pending_.size()); }

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

    struct Pending {
        QFuture<QImage> future;
        quint64 ticket = 0;
    };

    int limit_;
    quint64 clock_ = 0;
    QHash<Key, Picture> pictures_;
    QHash<Key, Pending> pending_;
};
