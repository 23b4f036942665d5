#pragma once

#include "cancellation.h"
#include "file_entry.h"
#include "storage_node.h"

// Builds the folder hierarchy of a flat file list: every folder below `root`
// with the bytes and files under it.
namespace StorageTree {

// Folder entries, files outside `root` and repeated paths are passed over.
// Throws Cancelled when `isCancelled` says so (asked once per file).
std::shared_ptr<const StorageNode> build(const QList<FileEntry>& files, const QString& root,
                                         const CancelCheck& isCancelled = {});

} // namespace StorageTree
