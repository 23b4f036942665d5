#pragma once

#include <QString>

// Where one item went in the trash, to bring it back from there.
struct TrashedItem {
    QString original; // where it was
    QString trashed;  // the item inside the trash's "files" folder
    QString info;     // its .trashinfo

    friend bool operator==(const TrashedItem&, const TrashedItem&) = default;
};

// The desktop's trash (the freedesktop.org Trash that file managers share):
// the home trash, created when missing, or the trash at the top of the item's
// own file system. A link goes in as the link itself. Nothing is ever deleted.
namespace TrashCan {

// Throws FileError with the trash's own reason; the item then stays where it is.
void trash(const QString& path);

// False when no trash takes items from where `path` is (a read-only or
// system-internal file system), so moving it there would fail.
bool canTrash(const QString& path);

// Like trash, and tells where the item went.
TrashedItem trashItem(const QString& path);

// Moves the item back to where its .trashinfo says it was (the Path= key,
// URL-encoded) and drops the .trashinfo. Refused with FileWriteFileExists
// when something is there now, and with a FileError when the trash no longer
// holds it; nothing is replaced or deleted.
void restore(const TrashedItem& item);

} // namespace TrashCan
