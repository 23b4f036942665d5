#pragma once

#include "raw_enum.h"

// The layout of a file list.
enum class BrowserMode { Grid, List, Column, Gallery };

template <> struct RawValues<BrowserMode> {
    static constexpr std::array<std::pair<BrowserMode, const char*>, 4> cases{{
        {BrowserMode::Grid, "grid"},
        {BrowserMode::List, "list"},
        {BrowserMode::Column, "column"},
        {BrowserMode::Gallery, "gallery"},
    }};
};

// The symbol name of the layout's button.
inline QString iconOf(BrowserMode mode)
{
    switch (mode) {
    case BrowserMode::Grid:
        return QStringLiteral("square.grid.2x2");
    case BrowserMode::List:
        return QStringLiteral("list.bullet");
    case BrowserMode::Column:
        return QStringLiteral("rectangle.split.3x1");
    case BrowserMode::Gallery:
        return QStringLiteral("rectangle.bottomthird.inset.filled");
    }
    return {};
}
