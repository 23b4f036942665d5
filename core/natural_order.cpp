#include "natural_order.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <thread>

namespace {

// Qt's collator ignores numeric mode and case folding in the C locale, which
// is what a session without LANG gets; fall back to a real collation then.
QLocale collationLocale()
{
    const QLocale system;
    if (system.language() == QLocale::C) return QLocale(QLocale::English, QLocale::UnitedStates);
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
    std::vector<std::optional<QCollatorSortKey>> slots(entries.size());
    auto makeKeys = [&](const QCollator& collator, qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            slots[i].emplace(collator.sortKey(entries[i].name));
    };
    const qsizetype half = entries.size() / 2;
    if (entries.size() >= 4096 && std::thread::hardware_concurrency() > 1) {
        // A collator serves one thread at a time (copies share one), so the
        // helper gets a collator of its own.
        const NaturalOrder own;
        const QCollator& copy = own.collator_;
        std::thread helper([&] { makeKeys(copy, half, entries.size()); });
        makeKeys(collator_, 0, half);
        helper.join();
    } else {
        makeKeys(collator_, 0, entries.size());
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (auto& slot : slots)
        keys.push_back(std::move(*slot));
    std::vector<qsizetype> order(entries.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (entries[a].isDirectory != entries[b].isDirectory) return entries[a].isDirectory;
        return keys[a].compare(keys[b]) < 0;
    });
    QList<FileEntry> sorted;
    sorted.reserve(entries.size());
    for (qsizetype index : order)
        sorted.append(std::move(entries[index]));
    entries = std::move(sorted);
}
