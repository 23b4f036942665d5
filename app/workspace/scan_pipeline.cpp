#include "workspace/scan_pipeline.h"

#include "storage_tree.h"
#include "when_finished.h"
#include "workspace/failure_message.h"
#include "workspace/prioritized_pool.h"
#include "workspace/workspace_log.h"

#include <QElapsedTimer>
#include <QtConcurrent>
#include <algorithm>

namespace {

struct Summary {
    StorageReport report;
    std::shared_ptr<const StorageNode> tree;
};

} // namespace

ScanPipeline::ScanPipeline(FileService& service, QObject* parent)
    : QObject(parent), service_(service)
{
}

QList<FileEntry> ScanPipeline::nonFolders(const QList<FileEntry>& files)
{
    // A scan lists no folders: the list itself is shared, not copied, so
    // that the model sees the summary's files as the ones it has.
    if (std::none_of(files.cbegin(), files.cend(),
                     [](const FileEntry& file) { return file.isDirectory; }))
        return files;
    QList<FileEntry> kept;
    kept.reserve(files.size());
    for (const FileEntry& file : files)
        if (!file.isDirectory) kept.append(file);
    return kept;
}

void ScanPipeline::scan(const std::optional<QList<FileEntry>>& listed, const QString& folder,
                        bool duplicates)
{
    const TaskSlot::Ticket ticket = scanTask_.start();
    qCDebug(lcWorkspace) << "scan of" << folder << (listed ? "(listed)" : "")
                         << (duplicates ? "with duplicates" : "");
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QFuture<StorageReport> scanning =
        listed ? QtFuture::makeReadyFuture(StorageReport(nonFolders(*listed), 0))
               : service_.scan(folder);
    scanTask_.onCancel([scanning]() mutable { scanning.cancel(); });

    auto fail = [this, ticket](const QString& message) {
        if (ticket.isCancelled()) return;
        qCDebug(lcWorkspace) << "scan failed:" << message;
        scanTask_.finish(ticket);
        Q_EMIT failed(message);
    };
    whenFinished(
        scanning, this, [this, ticket, duplicates, fail, clock](QFuture<StorageReport> done) {
            if (ticket.isCancelled()) return;
            StorageReport report;
            if (!succeeds([&] { report = done.result(); }, fail)) return;
            qCDebug(lcWorkspace) << "scan found" << report.files.size() << "files after"
                                 << clock->elapsed() << "ms";
            if (!duplicates) {
                scanTask_.finish(ticket);
                Q_EMIT scanned({report, {}, {}});
                return;
            }
            Q_EMIT comparing();
            QFuture<DuplicateReport> hashed = service_.duplicateReport(report.files);
            scanTask_.onCancel([hashed]() mutable { hashed.cancel(); });
            whenFinished(hashed, this,
                         [this, ticket, report, fail, clock](QFuture<DuplicateReport> hashedDone) {
                             if (ticket.isCancelled()) return;
                             DuplicateReport found;
                             if (!succeeds([&] { found = hashedDone.result(); }, fail)) return;
                             qCDebug(lcWorkspace) << "compared" << report.files.size()
                                                  << "files:" << found.groups.size()
                                                  << "groups after" << clock->elapsed() << "ms";
                             scanTask_.finish(ticket);
                             Q_EMIT scanned(
                                 {StorageReport(report.files, report.inaccessible + found.skipped),
                                  found.groups, found.sameFileAs});
                         });
        });
}

void ScanPipeline::summarize(QList<FileEntry> files, QString root, int inaccessible, bool withTree)
{
    const TaskSlot::Ticket ticket = treeTask_.start();
    const CancelCheck isCancelled = ticket.cancelCheck();
    // Below normal priority: a summary must not slow the window.
    QThreadPool* pool = prioritizedPool<QThread::LowPriority>();
    QFuture<Summary> summary =
        QtConcurrent::run(pool, [files = std::move(files), root = std::move(root), inaccessible,
                                 withTree, isCancelled] {
            Summary result;
            result.report = StorageReport(nonFolders(files), inaccessible);
            throwIfCancelled(isCancelled);
            if (withTree) result.tree = StorageTree::build(result.report.files, root, isCancelled);
            return result;
        });
    whenFinished(summary, this, [this, ticket](QFuture<Summary> done) {
        if (ticket.isCancelled()) return;
        treeTask_.finish(ticket);
        succeeds(
            [&] {
                const Summary result = done.result();
                Q_EMIT summarized(result.report, result.tree);
            },
            [this](const QString& message) { Q_EMIT failed(message); });
    });
}
