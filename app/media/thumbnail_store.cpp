#include "media/thumbnail_store.h"

#include "media/file_thumbnail_generator.h"
#include "when_finished.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QLocale>
#include <QtConcurrent>
#include <cmath>

namespace {
QString shortest(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}
} // namespace

ThumbnailStore::ThumbnailStore(std::shared_ptr<ThumbnailGenerator> generator, QObject* parent)
    : QObject(parent), generator_(std::move(generator))
{
    pool_.setMaxThreadCount(ThumbnailGate::defaultSlots);
}

ThumbnailStore::~ThumbnailStore()
{
    for (Job& job : jobs_) {
        job.cancelled->store(true);
        for (Consumer& consumer : job.consumers)
            dismiss(consumer);
    }
    jobs_.clear();
    pool_.waitForDone();
}

ThumbnailStore& ThumbnailStore::shared()
{
    static ThumbnailStore* store = new ThumbnailStore(std::make_shared<FileThumbnailGenerator>(),
                                                      QCoreApplication::instance());
    return *store;
}

QString ThumbnailStore::cacheKey(const FileEntry& file, qreal edge)
{
    const double seconds = file.modified.isValid() ? file.modified.toMSecsSinceEpoch() / 1000.0 : 0;
    return file.path + u'|' + shortest(seconds) + u'|' + QString::number(file.size) + u'|' +
           shortest(edge);
}

qint64 ThumbnailStore::costOf(qreal edge)
{
    return qint64(edge * edge) * 4;
}

QFuture<QImage> ThumbnailStore::thumbnail(const FileEntry& file, qreal edge)
{
    const QString key = cacheKey(file, edge);
    if (QImage cached = cache_.object(key); !cached.isNull())
        return QtFuture::makeReadyFuture(cached);

    auto found = jobs_.find(key);
    if (found == jobs_.end()) {
        Job job;
        job.id = nextId_++;
        job.cancelled = std::make_shared<std::atomic_bool>(false);
        found = jobs_.insert(key, job);
        const Id jobId = job.id;
        gate_.acquire(jobId, [this, key, jobId, file, edge] { start(key, jobId, file, edge); });
        // A slot may have been granted at once; the job is still there either way.
        found = jobs_.find(key);
    }

    const Id consumerId = nextId_++;
    Consumer consumer;
    consumer.promise = std::make_shared<QPromise<QImage>>();
    consumer.promise->start();
    consumer.watcher = new QFutureWatcher<QImage>(this);
    const Id jobId = found->id;
    connect(consumer.watcher, &QFutureWatcherBase::canceled, this,
            [this, key, jobId, consumerId] { release(key, jobId, consumerId); });
    consumer.watcher->setFuture(consumer.promise->future());
    QFuture<QImage> future = consumer.promise->future();
    found->consumers.insert(consumerId, consumer);
    return future;
}

void ThumbnailStore::start(const QString& key, Id jobId, const FileEntry& file, qreal edge)
{
    const auto found = jobs_.constFind(key);
    const std::shared_ptr<std::atomic_bool> cancelled =
        found != jobs_.constEnd() && found->id == jobId ? found->cancelled
                                                        : std::make_shared<std::atomic_bool>(true);
    auto made = QtConcurrent::run(&pool_, [generator = generator_, file, edge, cancelled] {
        Made made;
        if (cancelled->load()) return made;
        const CancelCheck isCancelled = [cancelled] { return cancelled->load(); };
        try {
            made.image = generator->make(file, int(std::ceil(edge)), isCancelled);
        } catch (...) {
        }
        // Finding the type may read the file, which can block for long on a
        // busy folder or a slow mount, and holds the type registry's lock
        // meanwhile: here, not on the GUI thread.
        if (made.image.isNull() && !cancelled->load())
            made.fallbackIcons = generator->fallbackIcons(file);
        return made;
    });
    whenFinished(made, this, [this, key, jobId, file, edge](Made made) {
        finish(key, jobId, file, edge, std::move(made));
    });
}

void ThumbnailStore::finish(const QString& key, Id jobId, const FileEntry& file, qreal edge,
                            Made made)
{
    QImage image = std::move(made.image);
    gate_.release();
    const auto found = jobs_.find(key);
    // Everybody left while it ran: the job is gone and its picture is dropped.
    if (found == jobs_.end() || found->id != jobId || found->cancelled->load()) return;
    // A failure is shown but not kept: a file still being written, or one
    // that was briefly unreadable, gets its picture when asked again.
    if (image.isNull())
        image = generator_->fallback(file, made.fallbackIcons, int(std::ceil(edge)));
    else
        cache_.insert(key, image, costOf(edge));
    Job job = std::move(*found);
    jobs_.erase(found);
    for (Consumer& consumer : job.consumers) {
        delete consumer.watcher;
        consumer.watcher = nullptr;
        consumer.promise->addResult(image);
        consumer.promise->finish();
    }
}

void ThumbnailStore::release(const QString& key, Id jobId, Id consumerId)
{
    const auto found = jobs_.find(key);
    if (found == jobs_.end() || found->id != jobId) return;
    const auto consumer = found->consumers.find(consumerId);
    if (consumer == found->consumers.end()) return;
    dismiss(*consumer);
    found->consumers.erase(consumer);
    if (!found->consumers.isEmpty()) return;
    found->cancelled->store(true);
    // Still queued for a slot: leave the queue without ever taking one.
    gate_.cancel(jobId);
    jobs_.erase(found);
}

void ThumbnailStore::dismiss(Consumer& consumer)
{
    if (consumer.watcher) {
        consumer.watcher->disconnect();
        consumer.watcher->deleteLater();
        consumer.watcher = nullptr;
    }
    consumer.promise->future().cancel();
    consumer.promise->finish();
}
