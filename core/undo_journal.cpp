#include "undo_journal.h"

UndoJournal::UndoJournal(QObject* parent) : QObject(parent) {}

void UndoJournal::record(UndoAction action)
{
    if (action.isEmpty()) return;
    actions_.erase(actions_.begin() + std::ptrdiff_t(done_), actions_.end());
    actions_.push_back(std::move(action));
    if (actions_.size() > kLimit) actions_.erase(actions_.begin());
    done_ = actions_.size();
    Q_EMIT changed();
}

QString UndoJournal::undoTitle() const
{
    return canUndo() ? tr("Undo %1").arg(actions_[done_ - 1].title()) : QString();
}

QString UndoJournal::redoTitle() const
{
    return canRedo() ? tr("Redo %1").arg(actions_[done_].title()) : QString();
}

void UndoJournal::undo()
{
    if (!canUndo()) return;
    actions_[done_ - 1].undo();
    --done_;
    Q_EMIT changed();
}

void UndoJournal::redo()
{
    if (!canRedo()) return;
    actions_[done_].redo();
    ++done_;
    Q_EMIT changed();
}
