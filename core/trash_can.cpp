#include "trash_can.h"

#include "file_error.h"
#include "native_path.h"

#include <gio/gio.h>
#include <memory>

namespace TrashCan {

void trash(const QString& path)
{
    const std::unique_ptr<GFile, decltype(&g_object_unref)> file(
        g_file_new_for_path(nativePath(path).constData()), &g_object_unref);
    GError* error = nullptr;
    if (g_file_trash(file.get(), nullptr, &error)) return;
    const QString reason = QString::fromUtf8(error->message);
    g_error_free(error);
    throw FileError::withDescription(path, reason);
}

} // namespace TrashCan
