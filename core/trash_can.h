#pragma once

#include <QString>

// The desktop's trash (the freedesktop.org Trash that file managers share):
// the home trash, created when missing, or the trash at the top of the item's
// own file system. A link goes in as the link itself. Nothing is ever deleted.
namespace TrashCan {

// Throws FileError with the trash's own reason; the item then stays where it is.
void trash(const QString& path);

} // namespace TrashCan
