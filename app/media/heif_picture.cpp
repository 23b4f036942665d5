#include "media/heif_picture.h"

#include "media/scaled_image.h"
#include "native_path.h"

#include <QFile>
#include <libheif/heif.h>
#include <memory>
#include <vector>

namespace {
using Context = std::unique_ptr<heif_context, decltype(&heif_context_free)>;
using Handle = std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)>;
using Image = std::unique_ptr<heif_image, decltype(&heif_image_release)>;

bool ok(const heif_error& error)
{
    return error.code == heif_error_Ok;
}

int longestSide(const heif_image_handle* handle)
{
    return std::max(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
}

// The smallest stored thumbnail at least `edge` big, else the picture itself.
Handle bestSource(Handle primary, int edge)
{
    const int count = heif_image_handle_get_number_of_thumbnails(primary.get());
    std::vector<heif_item_id> ids(std::max(0, count));
    heif_image_handle_get_list_of_thumbnail_IDs(primary.get(), ids.data(), count);
    Handle best(nullptr, heif_image_handle_release);
    for (const heif_item_id id : ids) {
        heif_image_handle* thumbnail = nullptr;
        if (!ok(heif_image_handle_get_thumbnail(primary.get(), id, &thumbnail))) continue;
        Handle candidate(thumbnail, heif_image_handle_release);
        if (longestSide(thumbnail) >= edge &&
            (!best || longestSide(thumbnail) < longestSide(best.get())))
            best = std::move(candidate);
    }
    return best ? std::move(best) : std::move(primary);
}
} // namespace

QImage readHeifPicture(const QString& path, int edge)
{
    if (edge <= 0) return {};
    const Context context(heif_context_alloc(), heif_context_free);
    if (!context ||
        !ok(heif_context_read_from_file(context.get(), nativePath(path).constData(), nullptr)))
        return {};
    heif_image_handle* primary = nullptr;
    if (!ok(heif_context_get_primary_image_handle(context.get(), &primary))) return {};
    const Handle source = bestSource(Handle(primary, heif_image_handle_release), edge);

    heif_image* decoded = nullptr;
    if (!ok(heif_decode_image(source.get(), &decoded, heif_colorspace_RGB,
                              heif_chroma_interleaved_RGBA, nullptr)))
        return {};
    const Image image(decoded, heif_image_release);
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int width = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int height = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!pixels || width <= 0 || height <= 0) return {};
    // Wraps libheif's buffer; the conversion makes the copy that outlives it.
    const QImage wrapped(pixels, width, height, stride, QImage::Format_RGBA8888);
    return fitInSquare(wrapped.convertToFormat(QImage::Format_ARGB32), edge);
}
