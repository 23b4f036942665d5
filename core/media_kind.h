#pragma once

#include "raw_enum.h"

enum class MediaKind { Image, Video, Audio, Document, Other };

template <> struct RawValues<MediaKind> {
    static constexpr std::array<std::pair<MediaKind, const char*>, 5> cases{{
        {MediaKind::Image, "image"},
        {MediaKind::Video, "video"},
        {MediaKind::Audio, "audio"},
        {MediaKind::Document, "document"},
        {MediaKind::Other, "other"},
    }};
};
