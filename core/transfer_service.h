#pragma once

#include "serial_executor.h"
#include "transfer_engine.h"

// Copies a file or folder tree into a folder. The copy is built under a hidden
// temporary name there, data first and metadata after, and moved to its final
// name in one step that never replaces anything; every failure or cancel
// removes the temporary item, so nothing half-copied is ever left.
class TransferService : public TransferEngine {
public:
    TransferService();
    // Finishes the running copy; queued ones end cancelled.
    ~TransferService() override;
    TransferService(const TransferService&) = delete;
    TransferService& operator=(const TransferService&) = delete;

    // The copy itself, on the calling thread. `progress` hears (0, total)
    // before any data moves, then at most every 100 ms, and (total, total) at
    // the end. Throws FileError, or Cancelled when `isCancelled` says so.
    static void copy(const QString& source, const QString& destination,
                     const ProgressHandler& progress, const CancelCheck& isCancelled);

    // Before the copy takes its name, with the temporary item's path; throws to stop it.
    using BeforePlacing = std::function<void(const QString& temporary)>;

    // The copy with taken names settled by `conflicts`: asked before any data
    // moves, and again when a name appears while the copy runs. Returns where
    // the copy went (nothing when skipped).
    static TransferOutcome copyItem(const QString& source, const QString& destination,
                                    const Handlers& handlers, ConflictResolver& conflicts,
                                    const BeforePlacing& check = {});

    // A copy or a move, on the calling thread.
    static TransferOutcome perform(const Request& request, const Handlers& handlers);

    // Throws FileWriteInvalidFileName when `folder` is `source` or lies inside it.
    static void refuseNesting(const QString& source, const QString& folder);

    // Removes what copies into `folder` that were killed or crashed left
    // behind; the items of copies still running, here or in another process,
    // stay. Every copy does this for its own destination first.
    static void removeStaleTemporaryItems(const QString& folder);

    // One copy at a time on the service's own thread, in the order asked.
    QFuture<void> start(const QString& source, const QString& destination, ProgressHandler progress,
                        CancelCheck isCancelled) override;
    QFuture<TransferOutcome> transfer(const Request& request, Handlers handlers) override;

private:
    SerialExecutor executor_;
};
