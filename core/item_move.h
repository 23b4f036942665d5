#pragma once

#include "transfer_engine.h"

// Moves one item into a folder. On one file system it is a rename that never
// replaces. Across file systems it is a copy through the transfer engine,
// checked against the source (every file's size and modification time) before
// it takes its name; only then does the source go to the trash, so a failure
// anywhere leaves the source as it was and nothing half-copied.
namespace ItemMove {

TransferOutcome move(const QString& source, const QString& destination,
                     const TransferEngine::Handlers& handlers, ConflictResolver& conflicts);

// Throws FileReadUnknown unless `copy` holds what `source` holds now, with
// the same size and modification time for every file.
void verifyCopy(const QString& source, const QString& copy);

} // namespace ItemMove
