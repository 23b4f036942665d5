#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

// Tells when the entries of one folder change on disk, whoever changed them.
// A burst of changes (a copy, an unpacked archive) is told once per
// `settleMs` at most.
class FolderWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int settleMs = 100;

    explicit FolderWatch(QObject* parent = nullptr);
    // Watches `folder` instead of the one before.
    void watch(const QString& folder);
    void stop();
    QString folder() const { return folder_; }

Q_SIGNALS:
    void changed();

private:
    QFileSystemWatcher watcher_;
    QTimer settle_;
    QString folder_;
};
