#pragma once

#include <QRect>
#include <QSize>

// Where the equal tiles of a list go, worked out from a row's number alone:
// laying out a million rows costs what ten do. Tiles sit `spacing` in from
// the edges and twice that apart. Coordinates are the list's content's.
class TileLayout {
public:
    enum class Flow {
        Wrapped, // left to right, as many to a line as fit, lines going down
        Down,    // one to a line, stretched across
        Across,  // one line to the right, stretched down
    };

    TileLayout() = default;
    TileLayout(Flow flow, QSize tile, int spacing, QSize viewport);

    // Tiles to a line (the lines go down, except Across's one line).
    int perLine() const { return perLine_; }
    QRect rect(int row) const;
    // The row whose tile holds `at`, or -1 between tiles or past the last of `count`.
    int rowAt(QPoint at, int count) const;
    QSize contentSize(int count) const;
    // The first and last of `count` rows whose lines meet `area` (first > last: none).
    std::pair<int, int> rowsNear(const QRect& area, int count) const;
    // A tile and its gap, in each direction: the distance a scroll step covers.
    QSize step() const { return step_; }
    // Tiles to a page of `viewport`, whole lines only (at least one line).
    int perPage(QSize viewport) const;

private:
    Flow flow_ = Flow::Down;
    QSize tile_;
    int spacing_ = 0;
    QSize step_;
    int perLine_ = 1;
};
