#pragma once

#include "cancellation.h"
#include "file_entry.h"
#include "storage_report.h"
#include "trash_can.h"

#include <QStringList>
#include <functional>

// The file operations as plain synchronous calls on the calling thread.
// Failures throw FileError; a cancelled job throws Cancelled.
namespace FileOperations {

// Direct children, folders first, then names in natural order. A huge folder
// takes seconds: `isCancelled` is asked every few thousand entries.
QList<FileEntry> contents(const QString& folder, bool hidden, const CancelCheck& isCancelled = {});

// Every non-folder item below `folder`, hidden items left out. `progress`, when
// given, hears the number of items seen now and then.
StorageReport scan(const QString& folder, const CancelCheck& isCancelled = {},
                   const std::function<void(qint64 seen)>& progress = {});
// The same scan with the files held compactly.
CompactStorageReport scanCompact(const QString& folder, const CancelCheck& isCancelled = {},
                                 const std::function<void(qint64 seen)>& progress = {});

// Throws FileWriteInvalidFileName when `name` can't name an item.
void validateName(const QString& name);

void createFolder(const QString& folder, const QString& name);
// Renames `item` inside its own folder; never replaces an existing item.
void rename(const QString& item, const QString& name);
// Copies `item` (a folder with its contents) into `folder` under its own name;
// never replaces an existing item and leaves nothing behind on failure.
void copy(const QString& item, const QString& folder);
// Moves each item to the trash, in order; stops at the first failure. With
// `trashed`, each item that went is added there as it goes (for undo).
void trash(const QStringList& items, QList<TrashedItem>* trashed = nullptr);

// Moves `from` to `to` in one step, failing with FileWriteFileExists rather
// than replacing anything at `to`.
void moveNoReplace(const QString& from, const QString& to);

} // namespace FileOperations
