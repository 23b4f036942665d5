#pragma once

#include "file_entry.h"
#include "media_metadata.h"
#include "workspace/task_slot.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>

class MediaMetadataReader;

// Reads the media properties of a list of files one after another and hands
// them over in batches, so that one filtering pass follows each batch.
class MetadataBatchReader : public QObject {
    Q_OBJECT
public:
    static constexpr int batchSize = 32;
    static constexpr int batchIntervalMs = 150;

    explicit MetadataBatchReader(MediaMetadataReader& reader, QObject* parent = nullptr);

    // Cancels a running read and starts reading `files` in order.
    void start(QList<FileEntry> files);
    // Stops reading; no further batch or finished() follows.
    void cancel() { task_.cancel(); }

Q_SIGNALS:
    void batchReady(const QHash<QString, MediaMetadata>& metadata,
                    const QHash<QString, FileEntry>& versions);
    void finished();

private:
    void readNext(TaskSlot::Ticket ticket);
    void flush();

    MediaMetadataReader& reader_;
    TaskSlot task_;
    QList<FileEntry> pending_;
    qsizetype next_ = 0;
    QHash<QString, MediaMetadata> metadata_;
    QHash<QString, FileEntry> versions_;
    QElapsedTimer sinceFlush_;
};
