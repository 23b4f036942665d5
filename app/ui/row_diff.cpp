#include "ui/row_diff.h"

#include <QHash>

namespace {

// Rows in ascending order as runs of neighbours.
QList<RowDiff::Range> runsOf(const QList<int>& rows)
{
    QList<RowDiff::Range> runs;
    for (const int row : rows) {
        if (!runs.isEmpty() && runs.last().last + 1 == row)
            runs.last().last = row;
        else
            runs.append({row, row});
    }
    return runs;
}

} // namespace

RowDiff RowDiff::between(const VisibleEntries& before, const VisibleEntries& after, int maxRanges)
{
    RowDiff diff;
    if (before.all && after.all && before.source.isSharedWith(after.source)) return diff;
    const int oldCount = int(before.size());
    const int newCount = int(after.size());
    // Most changes touch a few rows in one place: set aside what both ends share.
    int head = 0;
    while (head < oldCount && head < newCount && before.at(head).path == after.at(head).path)
        ++head;
    int tail = 0;
    while (tail < oldCount - head && tail < newCount - head &&
           before.at(oldCount - 1 - tail).path == after.at(newCount - 1 - tail).path)
        ++tail;

    QHash<QString, int> placeInAfter;
    placeInAfter.reserve(newCount - head - tail);
    for (int row = head; row < newCount - tail; ++row)
        placeInAfter.insert(after.at(row).path, row);
    if (placeInAfter.size() != newCount - head - tail) {
        diff.reset = true;
        return diff;
    }

    QList<int> removed;
    QList<bool> kept(newCount - head - tail, false);
    int lastPlace = -1;
    for (int row = head; row < oldCount - tail; ++row) {
        const int place = placeInAfter.value(before.at(row).path, -1);
        if (place < 0) {
            removed.append(row);
            continue;
        }
        if (place <= lastPlace) {
            diff.reset = true;
            return diff;
        }
        lastPlace = place;
        kept[place - head] = true;
    }
    QList<int> inserted;
    for (int row = head; row < newCount - tail; ++row)
        if (!kept[row - head]) inserted.append(row);
    diff.removed = runsOf(removed);
    diff.inserted = runsOf(inserted);
    if (diff.removed.size() + diff.inserted.size() > maxRanges) {
        diff = {};
        diff.reset = true;
        return diff;
    }

    // Kept rows in order: the old rows not removed against the new rows not inserted.
    int oldRow = 0;
    qsizetype nextRemoved = 0;
    for (int newRow = 0; newRow < newCount; ++newRow) {
        if (newRow >= head && newRow < newCount - tail && !kept[newRow - head]) continue;
        while (nextRemoved < removed.size() && removed[nextRemoved] == oldRow) {
            ++oldRow;
            ++nextRemoved;
        }
        if (!(before.at(oldRow) == after.at(newRow))) diff.changed.append(newRow);
        ++oldRow;
    }
    return diff;
}
