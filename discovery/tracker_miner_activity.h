#pragma once

#include <QElapsedTimer>
#include <QMutex>
#include <QString>
#include <optional>

// Whether Tracker is still at work on the index: its file miner crawling, or
// its extractor classifying what the crawl found (pictures, music, documents
// get their class only then). Asked over the session bus; thread-safe.
class TrackerMinerActivity {
public:
    // How long the gap between the end of a crawl and the start of the
    // extractor may last.
    static constexpr qint64 extractorStartMs = 5000;

    bool working();

    struct MinerState {
        bool reachable = false;
        double progress = 1.0;
        QString status = QStringLiteral("Idle");
        bool working() const;
    };
    // The state of one miner, by the last part of its bus name ("Files",
    // "Extract"); not started by asking.
    static MinerState stateOf(const char* miner);

private:
    QMutex mutex_;
    bool crawlSeen_ = false;
    std::optional<QElapsedTimer> extractorAwaited_;
};
