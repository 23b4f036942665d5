#pragma once

#include "file_entry.h"
#include "transfer_item.h"
#include "undo_journal.h"

#include <QCoreApplication>
#include <QFuture>
#include <QStringList>
#include <QUuid>
#include <functional>
#include <optional>

class FileDrop;
class WorkspaceModel;

// The file actions of a section: selection, previews, clipboard, folder
// changes, the trash, queued copies and moves, undo and text extraction. They
// act on the state of the model they belong to, which hands its actions here.
class WorkspaceActions {
    Q_DECLARE_TR_FUNCTIONS(WorkspaceActions)

public:
    explicit WorkspaceActions(WorkspaceModel& model);
    WorkspaceActions(const WorkspaceActions&) = delete;
    WorkspaceActions& operator=(const WorkspaceActions&) = delete;

    void select(FileEntry entry);
    void open(FileEntry entry);
    void preview();
    void stepPreview(int step);
    void selectAll();
    void enclosingFolder();
    void copySelection();
    void cutSelection();
    void paste();
    void drop(const FileDrop& dropped, QString folder, TransferKind kind);
    void createFolder(const QString& name);
    void rename(FileEntry entry, QString name);
    void trash();
    void addTransfer();
    void clearCompletedTransfers();
    void cancelTransfer(QUuid id);
    void retryTransfer(QUuid id);
    void pauseTransfer(QUuid id, bool paused);
    void pauseQueue(bool paused);
    std::optional<qsizetype> transferPlace(const QUuid& id, int step) const;
    void moveTransfer(QUuid id, int step);
    void extractText();
    void cancelTextExtraction();
    void undo();
    void redo();

private:
    // The selected paths in the order shown, then any others by name, so actions
    // that stop at a failure always act in the order the user sees.
    QStringList selectionInOrder() const;
    void enqueueTransfers(const QStringList& sources, TransferKind kind);
    // The files of this computer among `drop`'s URLs; the others become the error
    // `refusal`, whose %1 lists them.
    QStringList localSources(const FileDrop& drop, const QString& refusal);
    void walkJournal(void (UndoJournal::*step)());
    // Runs `then` when `future` ends; failures go to the model's error first.
    template <typename T>
    void afterChange(QFuture<T> future, std::function<void(bool succeeded)> then);

    WorkspaceModel& model_;
    QFuture<QString> ocrTask_;
};
