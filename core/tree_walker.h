#pragma once

#include "cancellation.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
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

    // An item as the system names it, without a path. Folders are numbered as the
    // walk meets them: the root is 0 and each folder item takes the next number,
    // whether or not it can be entered; `folder` is the number of the one holding it.
    // A folder readdir names is taken at its word, without a stat of its own: its
    // `st` tells only its kind (st_mode S_IFDIR, the rest 0).
    struct RawItem {
        std::uint32_t folder;
        QByteArrayView name;
        const struct stat* st;
    };
    using RawVisitor = std::function<void(const RawItem&)>;

    // Throws FileError when `root` itself can't be read, Cancelled when
    // `isCancelled` says so (asked before each item).
    static void walk(const QString& root, bool includeHidden, const Visitor& visit,
                     const CancelCheck& isCancelled = {});
    // The same walk for callers that keep names as bytes: no text is made per item.
    static void walkRaw(const QString& root, bool includeHidden, const RawVisitor& visit,
                        const CancelCheck& isCancelled = {});
};
