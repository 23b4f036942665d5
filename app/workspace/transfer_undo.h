#pragma once

class TransferStore;
class UndoJournal;

// The Undo and Redo history of this run's file actions. There is one per
// transfer queue, so every section working through that queue shares it, and
// the queue's finished copies and moves are recorded in it as they end.
namespace TransferUndo {

// The history of `store`, made with it on first use and gone with it.
UndoJournal& journal(TransferStore& store);

} // namespace TransferUndo
