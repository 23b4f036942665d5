#pragma once

#include "cancellation.h"
#include "conflict_resolver.h"
#include "transfer_outcome.h"

#include <optional>

// The last step of a copy or a move: an item that is complete takes its name
// in the destination folder by a rename that never replaces. A taken name goes
// to the resolver, also when it appeared just now: Skip leaves the item where
// it is, Keep Both takes the next free name, Replace sends what holds the name
// to the trash first, and Merge places a folder's contents one by one in the
// folder that is there.
class ItemPlacement {
public:
    ItemPlacement(ConflictResolver& resolver, CancelCheck isCancelled);

    // Places `item` (on the destination's file system) as folder/name. `shown`
    // is the item as the user knows it, the source of a copy, for questions
    // and the record. `preset` answers the first conflict of this name.
    void place(const QString& item, const QString& shown, const QString& folder,
               const QString& name, std::optional<ConflictAnswer> preset = std::nullopt);

    const QList<PlacedItem>& placed() const { return placed_; }
    // Items that were merged into a folder already there, outer ones first,
    // as (item, shown) pairs.
    const QList<std::pair<QString, QString>>& merged() const { return merged_; }

private:
    void merge(const QString& item, const QString& shown, const QString& into);

    ConflictResolver& resolver_;
    CancelCheck isCancelled_;
    QList<PlacedItem> placed_;
    QList<std::pair<QString, QString>> merged_;
};
