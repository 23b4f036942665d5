#include "ui/tile_layout.h"

#include <algorithm>

TileLayout::TileLayout(Flow flow, QSize tile, int spacing, QSize viewport)
    : flow_(flow), tile_(tile.expandedTo(QSize(1, 1))), spacing_(std::max(0, spacing))
{
    // A single line stretches its tiles across the rest of the view.
    if (flow_ == Flow::Down)
        tile_.setWidth(std::max(tile_.width(), viewport.width() - 2 * spacing_));
    if (flow_ == Flow::Across)
        tile_.setHeight(std::max(tile_.height(), viewport.height() - 2 * spacing_));
    step_ = tile_ + QSize(2 * spacing_, 2 * spacing_);
    if (flow_ == Flow::Wrapped) {
        // Another tile fits while it ends, with its spacing, before the edge.
        const int room = viewport.width() - tile_.width() - 2 * spacing_ - 1;
        perLine_ = room >= 0 ? 1 + room / step_.width() : 1;
    }
}

QRect TileLayout::rect(int row) const
{
    if (flow_ == Flow::Across) return {QPoint(spacing_ + row * step_.width(), spacing_), tile_};
    const int line = row / perLine_;
    const int column = row % perLine_;
    return {QPoint(spacing_ + column * step_.width(), spacing_ + line * step_.height()), tile_};
}

int TileLayout::rowAt(QPoint at, int count) const
{
    const int x = at.x() - spacing_;
    const int y = at.y() - spacing_;
    if (x < 0 || y < 0 || x % step_.width() >= tile_.width() ||
        y % step_.height() >= tile_.height())
        return -1;
    const int column = x / step_.width();
    const int line = y / step_.height();
    int row = -1;
    if (flow_ == Flow::Across) {
        if (line == 0) row = column;
    } else if (column < perLine_) {
        row = line * perLine_ + column;
    }
    return row >= 0 && row < count ? row : -1;
}

QSize TileLayout::contentSize(int count) const
{
    if (count <= 0) return {};
    if (flow_ == Flow::Across) return {count * step_.width(), step_.height()};
    const int lines = (count + perLine_ - 1) / perLine_;
    return {perLine_ * step_.width(), lines * step_.height()};
}

std::pair<int, int> TileLayout::rowsNear(const QRect& area, int count) const
{
    const bool across = flow_ == Flow::Across;
    const int from = across ? area.left() : area.top();
    const int to = across ? area.right() : area.bottom();
    const int stride = across ? step_.width() : step_.height();
    const int first = std::max(0, (from - spacing_) / stride);
    const int last = std::max(0, to) / stride;
    const int perLine = across ? 1 : perLine_;
    return {std::min(count, first * perLine), std::min(count - 1, (last + 1) * perLine - 1)};
}

int TileLayout::perPage(QSize viewport) const
{
    if (flow_ == Flow::Across) return std::max(1, viewport.width() / step_.width());
    return std::max(1, viewport.height() / step_.height()) * perLine_;
}
