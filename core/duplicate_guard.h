#pragma once

#include "file_entry.h"

#include <QSet>

// Trashing every copy of a duplicate group loses its contents; the window asks
// a second time before it does.
namespace DuplicateGuard {

// For each group whose every file is in `selection` (by path), the group's
// last file in group order: the copy whose removal leaves none.
QList<FileEntry> lastCopies(const QSet<QString>& selection, const QList<QList<FileEntry>>& groups);

// The second question for `copies`, naming them; empty when there are none.
QString warning(const QList<FileEntry>& copies);

} // namespace DuplicateGuard
