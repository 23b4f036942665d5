#pragma once

#include <optional>

// Displayed pixel size and play time of a media file; 0 and absent when unknown.
struct MediaMetadata {
    int width = 0;
    int height = 0;
    std::optional<double> duration;

    friend bool operator==(const MediaMetadata&, const MediaMetadata&) = default;
};
