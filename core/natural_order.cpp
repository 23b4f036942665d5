#include "natural_order.h"

#include <algorithm>
#include <numeric>

namespace {

// Qt's collator ignores numeric mode and case folding in the C locale, which
// is what a session without LANG gets; fall back to a real collation then.
QLocale collationLocale()
{
    const QLocale system;
    if (system.language() == QLocale::C)
        return QLocale(QLocale::English, QLocale::UnitedStates);
    return system;
}

} // namespace

NaturalOrder::NaturalOrder() : collator_(collationLocale())
{
    collator_.setNumericMode(true);
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

void NaturalOrder::sortFoldersFirst(QList<FileEntry>& entries) const
{
    // Sort keys make each comparison a byte compare, far cheaper than asking
    // the collator n log n times on a big folder.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const FileEntry& entry : entries)
        keys.push_back(collator_.sortKey(entry.name));
    std::vector<qsizetype> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (entries[a].isDirectory != entries[b].isDirectory)
            return entries[a].isDirectory;
        return keys[a].compare(keys[b]) < 0;
    });
    QList<FileEntry> sorted;
    sorted.reserve(entries.size());
    for (qsizetype index : order)
        sorted.append(std::move(entries[index]));
    entries = std::move(sorted);
}
