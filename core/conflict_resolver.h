#pragma once

#include "name_conflict.h"

#include <memory>
#include <mutex>
#include <optional>

// Gives the answer to each name conflict of one batch: from the user's
// handler, from an "apply to all" given before, or a fixed policy. Without
// any of them it refuses, as the copy engine does on its own.
class ConflictResolver {
public:
    // No handler: every conflict fails with FileWriteFileExists.
    explicit ConflictResolver(ConflictHandler ask = {});
    // The same answer for every conflict (Merge falls back to KeepBoth for
    // anything but two folders).
    static ConflictResolver always(ConflictAnswer answer);

    // Asks through `ask`, sharing this one's "apply to all" answers: each job
    // of a batch asks in its own way, the batch remembers.
    ConflictResolver askingThrough(ConflictHandler ask) const;

    // Throws FileWriteFileExists when refusing, and for a Merge answer to a
    // pair that can't merge.
    ConflictAnswer resolve(const NameConflict& conflict);

private:
    ConflictHandler ask_;
    std::optional<ConflictAnswer> fixed_;
    struct Remembered {
        std::mutex mutex;
        std::optional<ConflictAnswer> forFolders;
        std::optional<ConflictAnswer> forOthers;
    };
    std::shared_ptr<Remembered> remembered_ = std::make_shared<Remembered>();
};
