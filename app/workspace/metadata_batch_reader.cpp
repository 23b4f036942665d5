#include "workspace/metadata_batch_reader.h"

#include "media_metadata_reader.h"
#include "when_finished.h"

MetadataBatchReader::MetadataBatchReader(MediaMetadataReader& reader, QObject* parent)
    : QObject(parent), reader_(reader)
{
}

void MetadataBatchReader::start(QList<FileEntry> files)
{
    TaskSlot::Ticket ticket = task_.start();
    pending_ = std::move(files);
    next_ = 0;
    metadata_.clear();
    versions_.clear();
    sinceFlush_.start();
    readNext(ticket);
}

void MetadataBatchReader::readNext(TaskSlot::Ticket ticket)
{
    if (next_ >= pending_.size()) {
        task_.finish(ticket);
        if (!metadata_.isEmpty()) flush();
        Q_EMIT finished();
        return;
    }
    const FileEntry file = pending_.at(next_++);
    QFuture<MediaMetadata> read = reader_.read(file);
    task_.onCancel([read]() mutable { read.cancel(); });
    whenFinished(read, this, [this, ticket, file](QFuture<MediaMetadata> done) {
        if (ticket.isCancelled()) return;
        // An unreadable file still gets its (empty) properties, so it is not read again.
        MediaMetadata metadata;
        try {
            if (done.resultCount() > 0) metadata = done.result();
        } catch (...) {
        }
        metadata_.insert(file.path, metadata);
        versions_.insert(file.path, file);
        if (metadata_.size() >= batchSize || sinceFlush_.elapsed() >= batchIntervalMs) {
            flush();
            // A receiver may have started a new read meanwhile.
            if (ticket.isCancelled()) return;
        }
        readNext(ticket);
    });
}

void MetadataBatchReader::flush()
{
    const auto metadata = std::exchange(metadata_, {});
    const auto versions = std::exchange(versions_, {});
    sinceFlush_.restart();
    Q_EMIT batchReady(metadata, versions);
}
