#pragma once

#include "workspace/visible_entries.h"

#include <QList>

// How one shown list became another, as the steps a list model announces:
// rows removed (numbered in the old list), then rows inserted (numbered in
// the new one, in ascending order), then kept rows whose entry changed
// (numbered in the new list). Rows are matched by path.
struct RowDiff {
    struct Range {
        int first;
        int last;
        friend bool operator==(const Range&, const Range&) = default;
    };
    QList<Range> removed;
    QList<Range> inserted;
    QList<int> changed;
    // The kept rows changed order, a path is listed twice, or the steps would
    // be too many to be worth announcing: announce a reset instead.
    bool reset = false;

    bool isEmpty() const
    {
        return !reset && removed.isEmpty() && inserted.isEmpty() && changed.isEmpty();
    }

    static RowDiff between(const VisibleEntries& before, const VisibleEntries& after,
                           int maxRanges = 64);
};
