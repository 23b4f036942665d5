#pragma once

#include "library_discovering.h"

#include <QList>
#include <memory>
#include <optional>

// A discovery provider the test drives: it records every start and stop and
// delivers the snapshots the test hands it.
class ScriptedDiscovery : public LibraryDiscovering {
public:
    struct Start {
        MediaKind kind;
        bool screenshotsOnly;
    };
    // Shared with the test, which keeps it after the model took the provider.
    struct Log {
        QList<Start> starts;
        int stops = 0;
        Receiver receiver;
        // Sends a snapshot to the running receiver; false when none runs.
        bool send(const LibrarySnapshot& snapshot) const;
    };

    explicit ScriptedDiscovery(std::shared_ptr<Log> log) : log_(std::move(log)) {}

    void start(MediaKind kind, bool screenshotsOnly, Receiver receive) override;
    void stop() override;

private:
    std::shared_ptr<Log> log_;
};

// A final snapshot of `files`.
LibrarySnapshot finalSnapshot(const QList<FileEntry>& files, QSet<QString> screenshots = {});
LibrarySnapshot interimSnapshot(const QList<FileEntry>& files);
// An indexed entry that needs no real file.
FileEntry indexedFile(const QString& path, qint64 size = 1000,
                      const QDateTime& modified = QDateTime::currentDateTimeUtc(),
                      bool isDirectory = false);
