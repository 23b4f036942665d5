#pragma once

#include "raw_enum.h"

// Whether a section shows the whole file index or one chosen folder.
enum class LibraryScope { Mac, Folder };

template <> struct RawValues<LibraryScope> {
    static constexpr std::array<std::pair<LibraryScope, const char*>, 2> cases{{
        {LibraryScope::Mac, "mac"},
        {LibraryScope::Folder, "folder"},
    }};
};
