#include "workspace/transfer_undo.h"

#include "transfer_store.h"
#include "undo_journal.h"

namespace {

void recordFinished(UndoJournal& journal, const TransferItem& item)
{
    if (item.status != TransferStatus::Completed || !item.outcome) return;
    journal.record(item.kind == TransferKind::Move ? UndoAction::moved(*item.outcome)
                                                   : UndoAction::copied(*item.outcome));
}

} // namespace

UndoJournal& TransferUndo::journal(TransferStore& store)
{
    if (auto* existing = store.findChild<UndoJournal*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    auto* journal = new UndoJournal(&store);
    QObject::connect(&store, &TransferStore::itemFinished, journal,
                     [journal](const TransferItem& item) { recordFinished(*journal, item); });
    return *journal;
}
