#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

class QFileSystemWatcher;

// Tells when the entries of one folder change on disk, whoever changed them.
// A burst of changes (a copy, an unpacked archive) is told once per
// `settleMs` at most.
//
// The watch is set on a thread of its own: for a folder of a million entries
// the kernel takes tens of milliseconds to set it.
class FolderWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int settleMs = 100;

    explicit FolderWatch(QObject* parent = nullptr);
    ~FolderWatch() override;
    // Watches `folder` instead of the one before. A change since `listedAt`
    // (when the shown listing was read) that came before the watch was set is
    // told as well.
    void watch(const QString& folder, const QDateTime& listedAt = {});
    void stop();
    QString folder() const { return folder_; }
    // Whether the watch on folder() is set; changes before then are told by
    // the folder's modification time.
    bool isWatching() const { return watching_; }

Q_SIGNALS:
    void changed();
    // The watch on folder() is set.
    void watching();

private:
    void seen(const QString& folder);

    QThread thread_;
    QFileSystemWatcher* watcher_ = nullptr; // lives on thread_
    QTimer settle_;
    QString folder_;
    bool watching_ = false;
};
