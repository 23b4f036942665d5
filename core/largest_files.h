#pragma once

#include "cancellation.h"
#include "file_entry.h"

#include <QStringList>

// The largest files below some folders, without keeping a record of every
// file on the way: only the current leaders are held.
namespace LargestFiles {

// At most `limit` regular files (hidden items and links left out), largest
// first, equal sizes by path in code-point order. Each path counts once when
// folders overlap. Throws FileError when a folder can't be read, Cancelled
// when `isCancelled` says so.
QList<FileEntry> find(const QStringList& folders, qsizetype limit,
                      const CancelCheck& isCancelled = {});

} // namespace LargestFiles
