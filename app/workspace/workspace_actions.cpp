// The file actions of a section model: selection, previews, clipboard,
// folder changes, the trash, queued copies and moves, undo and text extraction.
#include "media/text_extractor.h"
#include "native_path.h"
#include "transfer_store.h"
#include "when_finished.h"
#include "workspace/failure_message.h"
#include "workspace/file_drop.h"
#include "workspace/workspace_model.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>

namespace {

const QString folderNeeded = QStringLiteral("Choose a destination folder to create a folder.");

qsizetype indexOf(const QList<FileEntry>& files, const FileEntry& entry)
{
    return files.indexOf(entry);
}

} // namespace

template <typename T>
void WorkspaceModel::afterChange(QFuture<T> future, std::function<void(bool)> then)
{
    // Not kept in a slot: a change that ends after the user moved on still
    // refreshes this model.
    whenFinished(future, this, [this, then = std::move(then)](QFuture<T> done) {
        try {
            done.waitForFinished();
            then(true);
        } catch (...) {
            setError(failureMessage(std::current_exception()));
            then(false);
        }
    });
}

void WorkspaceModel::select(FileEntry entry)
{
    const Qt::KeyboardModifiers held = platform_.modifiers();
    if (held & Qt::ControlModifier) {
        QSet<QString> toggled = selection_;
        if (!toggled.remove(entry.path)) toggled.insert(entry.path);
        setSelection(std::move(toggled));
        return;
    }
    if (held & Qt::ShiftModifier) {
        const QList<FileEntry> shown = visible();
        const auto anchor = std::find_if(shown.cbegin(), shown.cend(), [&](const FileEntry& f) {
            return selection_.contains(f.path);
        });
        const qsizetype clicked = indexOf(shown, entry);
        if (anchor != shown.cend() && clicked >= 0) {
            const qsizetype from = std::min(anchor - shown.cbegin(), clicked);
            const qsizetype to = std::max(anchor - shown.cbegin(), clicked);
            QSet<QString> range = selection_;
            for (qsizetype i = from; i <= to; ++i)
                range.insert(shown[i].path);
            setSelection(std::move(range));
            return;
        }
    }
    setSelection({entry.path});
}

void WorkspaceModel::open(FileEntry entry)
{
    if (entry.isDirectory) {
        navigate(entry.path);
        return;
    }
    setSelection({entry.path});
    setPreviewFile(entry);
}

void WorkspaceModel::preview()
{
    if (const auto entry = selected(); entry && !entry->isDirectory) setPreviewFile(*entry);
}

void WorkspaceModel::stepPreview(int step)
{
    if (!previewFile_) return;
    QList<FileEntry> candidates = visible();
    candidates.removeIf([](const FileEntry& f) { return f.isDirectory; });
    const qsizetype at = indexOf(candidates, *previewFile_);
    if (at < 0) return;
    const qsizetype next = at + step;
    if (next < 0 || next >= candidates.size()) return;
    setPreviewFile(candidates[next]);
    setSelection({candidates[next].path});
}

void WorkspaceModel::selectAll()
{
    QSet<QString> all;
    for (const FileEntry& file : visible())
        all.insert(file.path);
    setSelection(std::move(all));
}

void WorkspaceModel::enclosingFolder()
{
    if (isMacScope()) return;
    navigate(QFileInfo(folder_).path());
}

static QList<QUrl> urlsFor(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << urlForPath(path);
    return urls;
}

void WorkspaceModel::copySelection()
{
    platform_.writeClipboard(urlsFor(selectionInOrder()));
}

void WorkspaceModel::cutSelection()
{
    platform_.cutToClipboard(urlsFor(selectionInOrder()));
}

void WorkspaceModel::paste()
{
    const std::optional<QList<QUrl>> urls = platform_.readClipboard();
    if (!urls) return;
    const QStringList sources = localSources(FileDrop(*urls), QStringLiteral("pasted"));
    if (sources.isEmpty()) return;
    const bool cut = platform_.clipboardIsCut();
    enqueueTransfers(sources, cut ? TransferKind::Move : TransferKind::Copy);
    // Cut items are moved once; a second paste would find them gone.
    if (cut) platform_.writeClipboard({});
}

void WorkspaceModel::drop(const FileDrop& dropped, QString folder, TransferKind kind)
{
    const QStringList sources = localSources(dropped, QStringLiteral("dropped"));
    // A taken name is the user's to settle, as for a paste.
    if (!sources.isEmpty()) transferStore_->enqueue(sources, folder, kind, ConflictPolicy::Ask);
}

QStringList WorkspaceModel::localSources(const FileDrop& drop, const QString& verb)
{
    const QStringList refused = drop.foreignUrls();
    if (!refused.isEmpty()) {
        QStringList quoted;
        for (const QString& url : refused)
            quoted << QStringLiteral("\u201c%1\u201d").arg(url);
        setError(QStringLiteral("Only files on this computer can be %1. Left out: %2.")
                     .arg(verb, quoted.join(QStringLiteral(", "))));
    }
    return drop.localPaths();
}

void WorkspaceModel::addTransfer()
{
    const QStringList chosen = platform_.chooseItems(QStringLiteral("Copy to selected folder"));
    if (!chosen.isEmpty()) enqueueTransfers(chosen, TransferKind::Copy);
}

void WorkspaceModel::enqueueTransfers(const QStringList& sources, TransferKind kind)
{
    QString destination = folder_;
    if (isMacScope()) {
        const auto chosen = platform_.chooseFolder(
            QStringLiteral("Copy here"), QStringLiteral("Choose a destination for this transfer."));
        if (!chosen) return;
        destination = *chosen;
    }
    // A taken name is the user's to settle: nothing is replaced without asking.
    transferStore_->enqueue(sources, destination, kind, ConflictPolicy::Ask);
}

void WorkspaceModel::clearCompletedTransfers()
{
    QList<TransferItem> kept = transferStore_->items();
    kept.removeIf(
        [](const TransferItem& item) { return item.status == TransferStatus::Completed; });
    transferStore_->setItems(std::move(kept));
}

void WorkspaceModel::cancelTransfer(QUuid id)
{
    transferStore_->cancel(id);
}

void WorkspaceModel::retryTransfer(QUuid id)
{
    transferStore_->retry(id);
}

void WorkspaceModel::pauseTransfer(QUuid id, bool paused)
{
    if (paused)
        transferStore_->pause(id);
    else
        transferStore_->resume(id);
}

void WorkspaceModel::pauseQueue(bool paused)
{
    transferStore_->setQueuePaused(paused);
}

std::optional<qsizetype> WorkspaceModel::transferPlace(const QUuid& id, int step) const
{
    const QList<TransferItem>& items = transferStore_->items();
    const auto queued = [&](qsizetype at) { return items[at].status == TransferStatus::Queued; };
    qsizetype at = 0;
    while (at < items.size() && items[at].id != id)
        ++at;
    if (at == items.size() || !queued(at)) return std::nullopt;
    for (at += step; at >= 0 && at < items.size(); at += step)
        if (queued(at)) return at;
    return std::nullopt;
}

void WorkspaceModel::moveTransfer(QUuid id, int step)
{
    if (const std::optional<qsizetype> place = transferPlace(id, step))
        transferStore_->moveItem(id, *place);
}

void WorkspaceModel::createFolder(const QString& name)
{
    if (isMacScope()) {
        setError(folderNeeded);
        return;
    }
    const QString parent = folder_;
    afterChange(service_.createFolder(parent, name), [this, parent, name](bool succeeded) {
        if (!succeeded) return;
        const QString made = QDir::cleanPath(parent + QLatin1Char('/') + name);
        undoJournal_->record(UndoAction::createdFolder(made));
        // The new folder is listed where it lands and selected, so it can be named or opened.
        if (folder_ == parent && followsDisk())
            reloadFolder(made);
        else
            navigate(parent);
    });
}

void WorkspaceModel::rename(FileEntry entry, QString name)
{
    const QString renamed = QDir::cleanPath(QFileInfo(entry.path).path() + QLatin1Char('/') + name);
    afterChange(service_.rename(entry.path, name),
                [this, old = entry.path, renamed](bool succeeded) {
                    if (!succeeded) return;
                    undoJournal_->record(UndoAction::renamed(old, renamed));
                    // A selected item stays selected under its new name.
                    reloadFolder(selection_.contains(old) ? renamed : QString());
                });
}

void WorkspaceModel::trash()
{
    auto trashed = std::make_shared<QList<TrashedItem>>();
    // Reloaded and recorded also after a failure: what did reach the trash
    // leaves the list and can be restored.
    afterChange(service_.trash(selectionInOrder(), trashed), [this, trashed](bool) {
        undoJournal_->record(UndoAction::trashed(*trashed));
        reloadFolder();
    });
}

void WorkspaceModel::undo()
{
    walkJournal(&UndoJournal::undo);
}

void WorkspaceModel::redo()
{
    walkJournal(&UndoJournal::redo);
}

void WorkspaceModel::walkJournal(void (UndoJournal::*step)())
{
    try {
        (undoJournal_.data()->*step)();
    } catch (...) {
        setError(failureMessage(std::current_exception()));
    }
    if (!isMacScope()) reloadFolder();
}

void WorkspaceModel::extractText()
{
    const std::optional<FileEntry> entry = selected();
    if (!entry) return;
    setOcrBusy(true);
    ocrTask_ = TextExtractor::read(entry->path);
    // A watcher of its own: a cancelled read must still end the busy state.
    auto* watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcherBase::progressTextChanged, this,
            &WorkspaceModel::setOcrProgress);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        QFuture<QString> done = watcher->future();
        try {
            done.waitForFinished(); // rethrows a failure; a plain cancel has no result
            if (done.resultCount() > 0) setOcrText(done.result());
        } catch (...) {
            setError(failureMessage(std::current_exception()));
        }
        setOcrProgress({});
        setOcrBusy(false);
    });
    watcher->setFuture(ocrTask_);
}

void WorkspaceModel::cancelTextExtraction()
{
    ocrTask_.cancel();
}
