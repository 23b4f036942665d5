#pragma once

#include "private_session_bus.h"

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private Tracker 3 file index for tests: its own D-Bus session, home and
// settings, indexing only `folder()`. This process is pointed at that bus, so
// discovery code under test talks to it.
class TrackerSandbox {
public:
    TrackerSandbox();
    ~TrackerSandbox();
    TrackerSandbox(const TrackerSandbox&) = delete;
    TrackerSandbox& operator=(const TrackerSandbox&) = delete;

    // Starts the miner and waits until it crawled and extracted everything
    // in `folder()`, where `unextractable` files are of types no extractor
    // handles (they never count as extracted). Returns an explanation on
    // failure, empty on success.
    QString start(int timeoutMs = 120000, int unextractable = 0);
    // Starts the bus and the miner and returns at once.
    QString launch();
    // Waits until the index holds exactly `count` files under `folder()`.
    bool waitForFileCount(int count, int timeoutMs = 60000) const;

    // The indexed folder (not under /tmp: the miner skips the temporary folder).
    const QString& folder() const { return folder_; }
    QString sparql(const QString& query) const;

private:
    QString run(const QString& program, const QStringList& arguments, int timeoutMs = 30000) const;
    int countFiles(bool pendingOnly) const;

    QTemporaryDir state_;
    QString folder_;
    QProcessEnvironment environment_;
    std::unique_ptr<PrivateSessionBus> bus_;
};
