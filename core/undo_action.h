#pragma once

#include "transfer_outcome.h"

#include <QList>
#include <QString>

// One file action of this run, kept so it can be taken back and done again.
// Every step looks at the disk as it is now: nothing is replaced and nothing
// is deleted (a new folder goes only while it is still empty; copies and
// replaced items go to or come back from the trash). A refused step throws
// FileError before anything of the action has changed, as far as a look
// ahead can tell.
class UndoAction {
public:
    enum class Kind { Rename, NewFolder, Copy, Move, Trash };

    static UndoAction renamed(const QString& from, const QString& to);
    static UndoAction createdFolder(const QString& path);
    static UndoAction copied(const TransferOutcome& outcome);
    static UndoAction moved(const TransferOutcome& outcome);
    static UndoAction trashed(const QList<TrashedItem>& items);

    Kind kind() const { return kind_; }
    // What the Edit menu names: "Rename “a.txt”", "Copy 3 Items".
    QString title() const;
    // Nothing was done (every name skipped): not worth a place in the journal.
    bool isEmpty() const { return steps_.isEmpty(); }

    void undo();
    void redo();

private:
    // One item of the action; its trash records change as it goes back and forth.
    struct Step {
        PlacedItem item;
        // Where a copy (or the copy a move across file systems made) went on undo.
        std::optional<TrashedItem> undone;
    };

    UndoAction(Kind kind, QList<Step> steps, QStringList removedFolders = {});

    void undoStep(Step& step);
    void redoStep(Step& step);
    void checkUndo() const;
    void checkRedo() const;

    Kind kind_;
    QList<Step> steps_;
    QStringList removedFolders_;
};
