#pragma once

#include "file_index.h"

#include <QObject>
#include <QTimer>
#include <memory>

// The file index of GNOME and other Linux desktops: Tracker 3's file miner,
// asked over D-Bus with SPARQL. Change events are batched over 200 ms.
class TrackerFileIndex : public QObject, public FileIndex {
    Q_OBJECT
public:
    static constexpr int batchMs = 200;
    // While the miners work, how often to look whether they are done.
    static constexpr int recheckMs = 1000;
    // Rows handed over first, on their own (for every item, also asked for
    // on their own before the rest).
    static constexpr int firstPageRows = 64;

    TrackerFileIndex();
    ~TrackerFileIndex() override;

    bool start(MediaKind kind, std::function<void()> changed) override;
    void stop() override;
    QFuture<IndexResults> results() override;

    // The SPARQL query for one kind, newest first. Rows with ?loose bound have
    // no class in the index and are kept only when their name says `kind`.
    static QString queryFor(MediaKind kind);

private:
    struct Connection;
    static void onEvents(void* notifier, const char* service, const char* graph, void* events,
                         void* self);

    std::shared_ptr<Connection> connection_;
    MediaKind kind_ = MediaKind::Other;
    std::function<void()> changed_;
    QTimer batch_;
    QTimer recheck_;
};
