#pragma once

#include "undo_action.h"

#include <QObject>
#include <vector>

// The file actions of this run, newest last, for Undo and Redo. Lives on the
// GUI thread; each step is a few renames or trash moves and runs right there.
class UndoJournal : public QObject {
    Q_OBJECT

public:
    static constexpr std::size_t kLimit = 100;

    explicit UndoJournal(QObject* parent = nullptr);

    // A new action: what was undone can no longer be redone. Empty actions are left out.
    void record(UndoAction action);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < actions_.size(); }
    // "Undo Rename “a.txt”"; empty when there is nothing to undo.
    QString undoTitle() const;
    QString redoTitle() const;

    // Throws FileError when the disk no longer allows it; the action then
    // stays where it was, to be tried again.
    void undo();
    void redo();

Q_SIGNALS:
    void changed();

private:
    std::vector<UndoAction> actions_;
    std::size_t done_ = 0;
};
