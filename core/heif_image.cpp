#include "heif_image.h"

#include "native_path.h"

#include <QFile>
#include <libheif/heif.h>
#include <memory>

QSize heifImageSize(const QString& path)
{
    const std::unique_ptr<heif_context, decltype(&heif_context_free)> context(heif_context_alloc(),
                                                                              heif_context_free);
    if (!context ||
        heif_context_read_from_file(context.get(), nativePath(path).constData(), nullptr).code !=
            heif_error_Ok)
        return {};
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)> handle(
        primary, heif_image_handle_release);
    // libheif reports the size with the file's rotation already applied.
    const QSize size(heif_image_handle_get_width(handle.get()),
                     heif_image_handle_get_height(handle.get()));
    return size.width() > 0 && size.height() > 0 ? size : QSize();
}
