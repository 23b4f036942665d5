#pragma once

#include "trash_can.h"

#include <QList>
#include <QStringList>
#include <optional>

enum class TransferKind { Copy, Move };

// One item that took its place in the destination.
struct PlacedItem {
    QString from; // the source item
    QString to;   // where it is now
    // What had the name before and went to the trash for it ("Replace").
    std::optional<TrashedItem> replaced;
    // A move across file systems: the source, once copied and checked.
    std::optional<TrashedItem> sourceTrashed;

    friend bool operator==(const PlacedItem&, const PlacedItem&) = default;
};

// What one copy or move did, for the record and for undoing it. Empty when
// every name was skipped.
struct TransferOutcome {
    QList<PlacedItem> placed;
    // Source folders a merging move emptied and removed, deepest first.
    QStringList removedFolders;

    friend bool operator==(const TransferOutcome&, const TransferOutcome&) = default;
};
