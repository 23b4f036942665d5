#pragma once

#include "cancellation.h"
#include "storage_node.h"

#include <functional>
#include <memory>

// The storage hierarchy of a folder built while walking it, as StorageTree
// builds it from a scan's files (hidden items left out, folders without files
// left out), without a record or a path per file along the way.
namespace DiskTree {

// Throws FileError when `root` can't be read, Cancelled when `isCancelled`
// says so. `progress`, when given, hears the number of items seen now and then.
std::shared_ptr<const StorageNode> build(const QString& root, const CancelCheck& isCancelled = {},
                                         const std::function<void(qint64 seen)>& progress = {});

} // namespace DiskTree
