#pragma once

#include "file_index.h"
#include "library_discovering.h"

#include <QElapsedTimer>
#include <QObject>
#include <QUuid>
#include <memory>

// Discovery from the desktop's file index: a live query for the section's
// kind whose results are turned into entries on the GUI thread in short
// slices while the index still sends them, with growing snapshots while that
// goes on and a full one after every change the index reports.
class TrackerLibraryDiscovery : public QObject, public LibraryDiscovering {
    Q_OBJECT
public:
    static constexpr int sliceCount = 64;
    static constexpr qint64 sliceNs = 4'000'000;
    static constexpr qint64 interimIntervalMs = 150;

    static QString unavailableMessage();

    // Without an index, the desktop's (Tracker's file miner).
    explicit TrackerLibraryDiscovery(std::unique_ptr<FileIndex> index = nullptr);
    ~TrackerLibraryDiscovery() override;

    void start(MediaKind kind, bool screenshotsOnly, Receiver receive) override;
    void stop() override;

    // The index reported changes (also the entry point of its notifications).
    void queryChanged();

private:
    struct Pass;

    void runPasses(QUuid token);
    void convertSlice(std::shared_ptr<Pass> pass);
    static bool takePage(Pass& pass);
    void passEnded(const QUuid& token);
    bool isCurrent(const QUuid& token) const { return token == generation_; }

    std::unique_ptr<FileIndex> index_;
    bool running_ = false;
    bool passRunning_ = false;
    Receiver receive_;
    bool screenshotsOnly_ = false;
    QUuid generation_ = QUuid::createUuid();
    bool needsSnapshot_ = false;
    std::shared_ptr<Pass> pass_; // the pass under way
};

// Whether a file name says it is a screen capture.
bool looksLikeScreenCapture(const QString& name);
