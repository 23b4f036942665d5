#include "workspace/workspace_actions.h"

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
#include <functional>

namespace {

qsizetype indexOf(const QList<FileEntry>& files, const FileEntry& entry)
{
    return files.indexOf(entry);
}

QList<QUrl> urlsFor(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << urlForPath(path);
    return urls;
}

} // namespace

WorkspaceActions::WorkspaceActions(WorkspaceModel& model) : model_(model) {}

QStringList WorkspaceActions::selectionInOrder() const
{
    QStringList ordered;
    QSet<QString> rest = model_.selection();
    for (const FileEntry& file : model_.visible())
        if (rest.remove(file.path)) ordered << file.path;
    QStringList others(rest.cbegin(), rest.cend());
    others.sort();
    return ordered + others;
}

template <typename T>
void WorkspaceActions::afterChange(QFuture<T> future, std::function<void(bool)> then)
{
    // Not kept in a slot: a change that ends after the user moved on still
    // refreshes this model.
    whenFinished(future, &model_, [this, then = std::move(then)](QFuture<T> done) {
        if (!succeeds(
                [&] {
                    done.waitForFinished();
                    then(true);
                },
                std::bind_front(&WorkspaceModel::setError, &model_)))
            then(false);
    });
}

void WorkspaceActions::select(FileEntry entry)
{
    const Qt::KeyboardModifiers held = model_.platform_.modifiers();
    if (held & Qt::ControlModifier) {
        QSet<QString> toggled = model_.selection();
        if (!toggled.remove(entry.path)) toggled.insert(entry.path);
        model_.setSelection(std::move(toggled));
        return;
    }
    if (held & Qt::ShiftModifier) {
        const QList<FileEntry> shown = model_.visible();
        const auto anchor = std::find_if(shown.cbegin(), shown.cend(), [&](const FileEntry& f) {
            return model_.selection().contains(f.path);
        });
        const qsizetype clicked = indexOf(shown, entry);
        if (anchor != shown.cend() && clicked >= 0) {
            const qsizetype from = std::min(anchor - shown.cbegin(), clicked);
            const qsizetype to = std::max(anchor - shown.cbegin(), clicked);
            QSet<QString> range = model_.selection();
            for (qsizetype i = from; i <= to; ++i)
                range.insert(shown[i].path);
            model_.setSelection(std::move(range));
            return;
        }
    }
    model_.setSelection({entry.path});
}

void WorkspaceActions::open(FileEntry entry)
{
    if (entry.isDirectory) {
        model_.navigate(entry.path);
        return;
    }
    model_.setSelection({entry.path});
    model_.setPreviewFile(entry);
}

void WorkspaceActions::preview()
{
    if (const auto entry = model_.selected(); entry && !entry->isDirectory)
        model_.setPreviewFile(*entry);
}

void WorkspaceActions::stepPreview(int step)
{
    if (!model_.previewFile()) return;
    QList<FileEntry> candidates = model_.visible();
    candidates.removeIf([](const FileEntry& f) { return f.isDirectory; });
    const qsizetype at = indexOf(candidates, *model_.previewFile());
    if (at < 0) return;
    const qsizetype next = at + step;
    if (next < 0 || next >= candidates.size()) return;
    model_.setPreviewFile(candidates[next]);
    model_.setSelection({candidates[next].path});
}

void WorkspaceActions::selectAll()
{
    QSet<QString> all;
    for (const FileEntry& file : model_.visible())
        all.insert(file.path);
    model_.setSelection(std::move(all));
}

void WorkspaceActions::enclosingFolder()
{
    if (model_.isMacScope()) return;
    model_.navigate(QFileInfo(model_.folder()).path());
}

void WorkspaceActions::copySelection()
{
    model_.platform_.writeClipboard(urlsFor(selectionInOrder()));
}

void WorkspaceActions::cutSelection()
{
    model_.platform_.cutToClipboard(urlsFor(selectionInOrder()));
}

void WorkspaceActions::paste()
{
    const std::optional<QList<QUrl>> urls = model_.platform_.readClipboard();
    if (!urls) return;
    const QStringList sources = localSources(
        FileDrop(*urls), tr("Only files on this computer can be pasted. Left out: %1."));
    if (sources.isEmpty()) return;
    const bool cut = model_.platform_.clipboardIsCut();
    enqueueTransfers(sources, cut ? TransferKind::Move : TransferKind::Copy);
    // Cut items are moved once; a second paste would find them gone.
    if (cut) model_.platform_.writeClipboard({});
}

void WorkspaceActions::drop(const FileDrop& dropped, QString folder, TransferKind kind)
{
    const QStringList sources =
        localSources(dropped, tr("Only files on this computer can be dropped. Left out: %1."));
    // A taken name is the user's to settle, as for a paste.
    if (!sources.isEmpty())
        model_.transferStore().enqueue(sources, folder, kind, ConflictPolicy::Ask);
}

QStringList WorkspaceActions::localSources(const FileDrop& drop, const QString& refusal)
{
    const QStringList refused = drop.foreignUrls();
    if (!refused.isEmpty()) {
        QStringList quoted;
        for (const QString& url : refused)
            quoted << tr("\u201c%1\u201d").arg(url);
        model_.setError(refusal.arg(quoted.join(tr(", "))));
    }
    return drop.localPaths();
}

void WorkspaceActions::addTransfer()
{
    const QStringList chosen = model_.platform_.chooseItems(tr("Copy to selected folder"));
    if (!chosen.isEmpty()) enqueueTransfers(chosen, TransferKind::Copy);
}

void WorkspaceActions::enqueueTransfers(const QStringList& sources, TransferKind kind)
{
    QString destination = model_.folder();
    if (model_.isMacScope()) {
        const auto chosen = model_.platform_.chooseFolder(
            tr("Copy here"), tr("Choose a destination for this transfer."));
        if (!chosen) return;
        destination = *chosen;
    }
    // A taken name is the user's to settle: nothing is replaced without asking.
    model_.transferStore().enqueue(sources, destination, kind, ConflictPolicy::Ask);
}

void WorkspaceActions::clearCompletedTransfers()
{
    QList<TransferItem> kept = model_.transferStore().items();
    kept.removeIf(
        [](const TransferItem& item) { return item.status == TransferStatus::Completed; });
    model_.transferStore().setItems(std::move(kept));
}

void WorkspaceActions::cancelTransfer(QUuid id)
{
    model_.transferStore().cancel(id);
}

void WorkspaceActions::retryTransfer(QUuid id)
{
    model_.transferStore().retry(id);
}

void WorkspaceActions::pauseTransfer(QUuid id, bool paused)
{
    if (paused)
        model_.transferStore().pause(id);
    else
        model_.transferStore().resume(id);
}

void WorkspaceActions::pauseQueue(bool paused)
{
    model_.transferStore().setQueuePaused(paused);
}

std::optional<qsizetype> WorkspaceActions::transferPlace(const QUuid& id, int step) const
{
    const QList<TransferItem>& items = model_.transferStore().items();
    const auto queued = [&](qsizetype at) { return items[at].status == TransferStatus::Queued; };
    qsizetype at = 0;
    while (at < items.size() && items[at].id != id)
        ++at;
    if (at == items.size() || !queued(at)) return std::nullopt;
    for (at += step; at >= 0 && at < items.size(); at += step)
        if (queued(at)) return at;
    return std::nullopt;
}

void WorkspaceActions::moveTransfer(QUuid id, int step)
{
    if (const std::optional<qsizetype> place = transferPlace(id, step))
        model_.transferStore().moveItem(id, *place);
}

void WorkspaceActions::createFolder(const QString& name)
{
    if (model_.isMacScope()) {
        model_.setError(tr("Choose a destination folder to create a folder."));
        return;
    }
    const QString parent = model_.folder();
    afterChange(model_.service().createFolder(parent, name), [this, parent, name](bool succeeded) {
        if (!succeeded) return;
        const QString made = QDir::cleanPath(parent + QLatin1Char('/') + name);
        model_.undoJournal().record(UndoAction::createdFolder(made));
        // The new folder is listed where it lands and selected, so it can be named or opened.
        if (model_.folder() == parent && model_.followsDisk())
            model_.reloadFolder(made);
        else
            model_.navigate(parent);
    });
}

void WorkspaceActions::rename(FileEntry entry, QString name)
{
    const QString renamed = QDir::cleanPath(QFileInfo(entry.path).path() + QLatin1Char('/') + name);
    afterChange(model_.service().rename(entry.path, name),
                [this, old = entry.path, renamed](bool succeeded) {
                    if (!succeeded) return;
                    model_.undoJournal().record(UndoAction::renamed(old, renamed));
                    // A selected item stays selected under its new name.
                    model_.reloadFolder(model_.selection().contains(old) ? renamed : QString());
                });
}

void WorkspaceActions::trash()
{
    auto trashed = std::make_shared<QList<TrashedItem>>();
    // Reloaded and recorded also after a failure: what did reach the trash
    // leaves the list and can be restored.
    afterChange(model_.service().trash(selectionInOrder(), trashed), [this, trashed](bool) {
        model_.undoJournal().record(UndoAction::trashed(*trashed));
        model_.reloadFolder();
    });
}

void WorkspaceActions::undo()
{
    walkJournal(&UndoJournal::undo);
}

void WorkspaceActions::redo()
{
    walkJournal(&UndoJournal::redo);
}

void WorkspaceActions::walkJournal(void (UndoJournal::*step)())
{
    succeeds([&] { (model_.undoJournal().*step)(); },
             std::bind_front(&WorkspaceModel::setError, &model_));
    if (!model_.isMacScope()) model_.reloadFolder();
}

void WorkspaceActions::extractText()
{
    const std::optional<FileEntry> entry = model_.selected();
    if (!entry) return;
    model_.setOcrBusy(true);
    ocrTask_ = TextExtractor::read(entry->path);
    // A watcher of its own: a cancelled read must still end the busy state.
    auto* watcher = new QFutureWatcher<QString>(&model_);
    QObject::connect(watcher, &QFutureWatcherBase::progressTextChanged, &model_,
                     &WorkspaceModel::setOcrProgress);
    QObject::connect(watcher, &QFutureWatcherBase::finished, &model_, [this, watcher] {
        watcher->deleteLater();
        QFuture<QString> done = watcher->future();
        succeeds(
            [&] {
                done.waitForFinished(); // rethrows a failure; a plain cancel has no result
                if (done.resultCount() > 0) model_.setOcrText(done.result());
            },
            std::bind_front(&WorkspaceModel::setError, &model_));
        model_.setOcrProgress({});
        model_.setOcrBusy(false);
    });
    watcher->setFuture(ocrTask_);
}

void WorkspaceActions::cancelTextExtraction()
{
    ocrTask_.cancel();
}
