#pragma once

#include "file_service.h"
#include "storage_node.h"
#include "storage_report.h"
#include "workspace/task_slot.h"

#include <QHash>
#include <QObject>
#include <memory>
#include <optional>

// What a scan found: the report, and for a duplicate search the groups of
// equal files with the hard links among them.
struct ScanOutcome {
    StorageReport report;
    QList<QList<FileEntry>> groups;
    QHash<QString, QString> sameFileAs;
};

// The background jobs of the analysis sections: a scan followed, for a
// duplicate search, by a comparison of contents; and the storage summary with
// its tree. One job of each kind runs at a time; starting one cancels the one
// before. Results and failures come back on the GUI thread as signals; a
// cancelled job reports nothing.
class ScanPipeline : public QObject {
    Q_OBJECT
public:
    explicit ScanPipeline(FileService& service, QObject* parent = nullptr);

    // Scans `folder`, or takes `listed` as what a scan found when given.
    void scan(const std::optional<QList<FileEntry>>& listed, const QString& folder,
              bool duplicates);
    // Sums up `files` below `root`, with the tree when `withTree`.
    void summarize(QList<FileEntry> files, QString root, int inaccessible, bool withTree);
    void cancelScan() { scanTask_.cancel(); }
    void cancelSummary() { treeTask_.cancel(); }

    // The files of `files` that are not folders.
    static QList<FileEntry> nonFolders(const QList<FileEntry>& files);

Q_SIGNALS:
    // The scan is done and the comparison of contents begins.
    void comparing();
    void scanned(const ScanOutcome& outcome);
    void summarized(const StorageReport& report, const std::shared_ptr<const StorageNode>& tree);
    void failed(const QString& message);

private:
    FileService& service_;
    TaskSlot scanTask_;
    TaskSlot treeTask_;
};
