#pragma once

#include "cancellation.h"
#include "file_entry.h"
#include "storage_node.h"

// Builds the folder hierarchy of a flat file list: every folder below `root`
// with the bytes and files under it.
namespace StorageTree {

// Folder entries, files outside `root` and repeated paths are passed over.
// Throws Cancelled when `isCancelled` says so (asked once per file).
// Places files one at a time, for callers that walk the disk themselves.
class Builder {
public:
    explicit Builder(const QString& root);
    ~Builder();
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    // A file (never a folder) at `path`; outside the root or placed before, it is passed over.
    void add(const QString& path, qint64 size);
    // The finished tree; the builder is empty afterwards.
    std::shared_ptr<const StorageNode> finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

std::shared_ptr<const StorageNode> build(const QList<FileEntry>& files, const QString& root,
                                         const CancelCheck& isCancelled = {});

// Trees with at least this many files are freed off the thread that lets them go.
inline constexpr qint64 kFreedInBackgroundFrom = 20000;
// `root`, freed on a thread of its own once its last holder lets go when it is large.
std::shared_ptr<const StorageNode> freedInBackground(std::shared_ptr<const StorageNode> root);
// Returns once every tree handed over so far is freed.
void waitForFreeing();

} // namespace StorageTree
