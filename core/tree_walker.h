#pragma once

#include "cancellation.h"

#include <QString>
#include <functional>
#include <sys/stat.h>

// Walks a folder tree depth first, parents before their contents, without
// following symbolic links and without entering the kernel's virtual trees.
// Folders that can't be entered are passed over silently.
class TreeWalker {
public:
    struct Item {
        const QString& path;
        const QString& name;
        // Null when the item's properties couldn't be read.
        const struct stat* st;
    };
    using Visitor = std::function<void(const Item&)>;

    // Throws FileError when `root` itself can't be read, Cancelled when
    // `isCancelled` says so (asked before each item).
    static void walk(const QString& root, bool includeHidden, const Visitor& visit,
                     const CancelCheck& isCancelled = {});
};
