#pragma once

#include "raw_enum.h"

#include <QString>
#include <functional>

// What to do when an item would take a name that is already there.
enum class ConflictAnswer { Replace, Skip, KeepBoth, Merge };

template <> struct RawValues<ConflictAnswer> {
    static constexpr std::array<std::pair<ConflictAnswer, const char*>, 4> cases{{
        {ConflictAnswer::Replace, "replace"},
        {ConflictAnswer::Skip, "skip"},
        {ConflictAnswer::KeepBoth, "keep-both"},
        {ConflictAnswer::Merge, "merge"},
    }};
};

// One name met in a destination folder.
struct NameConflict {
    QString source;   // the item being copied or moved
    QString existing; // what holds the name now
    bool sourceIsFolder = false;
    bool existingIsFolder = false;

    // Merge is offered only when both are folders.
    bool canMerge() const { return sourceIsFolder && existingIsFolder; }

    friend bool operator==(const NameConflict&, const NameConflict&) = default;
};

// The user's word on one conflict; `applyToAll` keeps it for the rest of
// the batch (for folder pairs and other pairs separately, as Merge fits only
// the first).
struct ConflictChoice {
    ConflictAnswer answer = ConflictAnswer::Skip;
    bool applyToAll = false;
};

// Asked on the copy's own thread; the copy waits for the answer.
using ConflictHandler = std::function<ConflictChoice(const NameConflict&)>;
