#pragma once

#include "file_entry.h"
#include "media/thumbnail_cache.h"
#include "media/thumbnail_gate.h"
#include "media/thumbnail_generator.h"

#include <QFuture>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPromise>
#include <QThreadPool>
#include <atomic>
#include <memory>

template <typename T> class QFutureWatcher;

// Pictures of files for the views, from one shared memory cache or else from
// the generator. Requests for the same key share one generation; at most four
// generations run at once, the rest wait in arrival order. GUI thread only.
class ThumbnailStore : public QObject {
    Q_OBJECT
public:
    explicit ThumbnailStore(std::shared_ptr<ThumbnailGenerator> generator,
                            QObject* parent = nullptr);
    ~ThumbnailStore() override;

    // The application's store, made on first use and owned by the application.
    static ThumbnailStore& shared();

    // "path|mtime seconds|size|edge", each number in its shortest exact form.
    static QString cacheKey(const FileEntry& file, qreal edge);
    // Bytes of an edge-by-edge picture of four bytes a pixel.
    static qint64 costOf(qreal edge);

    // The picture of `file` fitting an edge-by-edge square, delivered on this
    // thread; a null image when none can be made. Cancelling the future stops
    // waiting; a generation nobody waits for any more is cancelled.
    QFuture<QImage> thumbnail(const FileEntry& file, qreal edge);

    ThumbnailCache& cache() { return cache_; }
    const ThumbnailGate& gate() const { return gate_; }
    // Generations in flight (waiting for a slot or running).
    int jobCount() const { return int(jobs_.size()); }

private:
    using Id = quint64;
    struct Consumer {
        std::shared_ptr<QPromise<QImage>> promise;
        QFutureWatcher<QImage>* watcher = nullptr;
    };
    struct Job {
        Id id = 0;
        std::shared_ptr<std::atomic_bool> cancelled;
        QHash<Id, Consumer> consumers;
    };

    void start(const QString& key, Id jobId, const FileEntry& file, qreal edge);
    // What a worker hands back: the picture, or what its fallback needs.
    struct Made {
        QImage image;
        QStringList fallbackIcons;
    };

    void finish(const QString& key, Id jobId, const FileEntry& file, qreal edge, Made made);
    void release(const QString& key, Id jobId, Id consumer);
    static void dismiss(Consumer& consumer);

    std::shared_ptr<ThumbnailGenerator> generator_;
    ThumbnailCache cache_;
    ThumbnailGate gate_;
    QHash<QString, Job> jobs_;
    Id nextId_ = 1;
    QThreadPool pool_;
};
