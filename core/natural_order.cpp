#include "natural_order.h"

#include "for_halves.h"

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

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// A run of digits in `text` from `from`, read as a number: where its value
// starts (leading zeros don't count) and where the run ends.
struct DigitRun {
    qsizetype start;
    qsizetype end;
    qsizetype length() const { return end - start; }
};

DigitRun digitRun(QStringView text, qsizetype from)
{
    qsizetype start = from;
    while (start < text.size() && text[start] == u'0')
        ++start;
    qsizetype end = start;
    while (end < text.size() && isDigit(text[end].unicode()))
        ++end;
    return {start, end};
}

// Below this share of names the collator must see, sorting asks it directly
// for those; above it, sort keys pay off.
constexpr qsizetype kFewOddNames = 64;

} // namespace

NaturalOrder::NaturalOrder() : collator_(collationLocale())
{
    collator_.setNumericMode(true);
    collator_.setCaseSensitivity(Qt::CaseInsensitive);
    ascii_ = asciiWeights(collator_);
}

NaturalOrder::AsciiWeights NaturalOrder::asciiWeights(const QCollator& collator)
{
    AsciiWeights weights;
    // English has no tailoring for plain letters; other languages join
    // letters ("ch", "aa") or move them, which one weight per character can't express.
    if (collator.locale().language() != QLocale::English) return weights;
    QList<QString> chars;
    for (char16_t c = 0x20; c < 0x7f; ++c)
        if (collator.compare(QString(QChar(c)), QString()) != 0) chars << QString(QChar(c));
    std::stable_sort(chars.begin(), chars.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    int weight = 0;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        if (i == 0 || collator.compare(chars[i - 1], chars[i]) != 0) ++weight;
        weights.weight[chars[i][0].unicode()] = quint8(weight);
    }
    // A run of digits weighs as one number, between the characters around the digits.
    const quint8 zero = weights.weight['0'], nine = weights.weight['9'];
    if (zero == 0 || nine - zero != 9) return weights;
    for (char16_t c = 0x20; c < 0x7f; ++c)
        if (!isDigit(c) && weights.weight[c] >= zero && weights.weight[c] <= nine) return weights;
    weights.digit = zero;
    weights.usable = true;
    return weights;
}

bool NaturalOrder::isPlain(QStringView name) const
{
    if (!ascii_.usable) return false;
    for (const QChar c : name)
        if (c.unicode() >= 0x80 || ascii_.weight[c.unicode()] == 0) return false;
    return true;
}

int NaturalOrder::comparePlain(QStringView a, QStringView b) const
{
    const qsizetype na = a.size(), nb = b.size();
    qsizetype i = 0, j = 0;
    while (i < na && j < nb) {
        const char16_t ca = a[i].unicode(), cb = b[j].unicode();
        if (isDigit(ca) && isDigit(cb)) {
            // By value: more digits is more, then digit by digit.
            const DigitRun ra = digitRun(a, i), rb = digitRun(b, j);
            if (ra.length() != rb.length()) return ra.length() < rb.length() ? -1 : 1;
            for (qsizetype k = 0; k < ra.length(); ++k)
                if (a[ra.start + k] != b[rb.start + k])
                    return a[ra.start + k] < b[rb.start + k] ? -1 : 1;
            i = ra.end;
            j = rb.end;
            continue;
        }
        const quint8 wa = isDigit(ca) ? ascii_.digit : ascii_.weight[ca];
        const quint8 wb = isDigit(cb) ? ascii_.digit : ascii_.weight[cb];
        if (wa != wb) return wa < wb ? -1 : 1;
        ++i;
        ++j;
    }
    return i < na ? 1 : (j < nb ? -1 : 0);
}

std::string NaturalOrder::plainKey(QStringView name) const
{
    std::string key;
    key.reserve(std::size_t(name.size()) + 2);
    for (qsizetype i = 0; i < name.size();) {
        const char16_t c = name[i].unicode();
        if (!isDigit(c)) {
            key.push_back(char(ascii_.weight[c]));
            ++i;
            continue;
        }
        // A number: the digits' weight, how many digits count, then those digits.
        const DigitRun run = digitRun(name, i);
        key.push_back(char(ascii_.digit));
        key.push_back(char(quint8(run.length())));
        for (i = run.start; i < run.end; ++i)
            key.push_back(char(name[i].unicode()));
    }
    return key;
}

int NaturalOrder::compare(QStringView a, QStringView b) const
{
    if (isPlain(a) && isPlain(b)) return comparePlain(a, b);
    return collator_.compare(a, b);
}

std::vector<bool> NaturalOrder::plainNames(const QList<QString>& names) const
{
    std::vector<bool> plain(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        plain[i] = isPlain(names[i]);
    return plain;
}

std::vector<qsizetype> NaturalOrder::orderFoldersFirst(const QList<QString>& names,
                                                       const std::vector<bool>& isFolder) const
{
    return orderFoldersFirst(names, isFolder, plainNames(names));
}

std::vector<qsizetype> NaturalOrder::orderFoldersFirst(const QList<QString>& names,
                                                       const std::vector<bool>& isFolder,
                                                       const std::vector<bool>& plain) const
{
    const qsizetype count = names.size();
    std::vector<qsizetype> order(count);
    std::iota(order.begin(), order.end(), 0);
    const qsizetype odd = qsizetype(std::count(plain.begin(), plain.end(), false));
    const bool twoThreads = worthTwoThreads(std::size_t(count));
    // Sorts [from, to) of `order`; each thread passes its own collator.
    auto sortPart = [&](auto&& less, qsizetype from, qsizetype to) {
        std::stable_sort(order.begin() + from, order.begin() + to, less);
    };
    auto sortAll = [&](auto makeLess) {
        const qsizetype half = count / 2;
        if (twoThreads) {
            // A collator serves one thread at a time (copies share one), so the
            // helper gets an order of its own.
            const NaturalOrder own;
            std::thread helper([&] { sortPart(makeLess(own), half, count); });
            sortPart(makeLess(*this), 0, half);
            helper.join();
            std::inplace_merge(order.begin(), order.begin() + half, order.end(), makeLess(*this));
        } else {
            sortPart(makeLess(*this), 0, count);
        }
    };
    if (odd <= kFewOddNames) {
        // Plain names compare as bytes; the few others ask the collator.
        std::vector<std::string> keys(count);
        forHalves(std::size_t(count), [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i)
                if (plain[i]) keys[i] = plainKey(names[qsizetype(i)]);
        });
        sortAll([&](const NaturalOrder& by) {
            return [&names, &isFolder, &plain, &keys, &by](qsizetype a, qsizetype b) {
                if (isFolder[a] != isFolder[b]) return bool(isFolder[a]);
                if (plain[a] && plain[b]) return keys[a] < keys[b];
                return by.collator_.compare(names[a], names[b]) < 0;
            };
        });
        return order;
    }
    // Sort keys make each comparison a byte compare, far cheaper than asking
    // the collator n log n times on a big folder.
    std::vector<std::optional<QCollatorSortKey>> slots(count);
    auto makeKeys = [&](const QCollator& collator, qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            slots[i].emplace(collator.sortKey(names[i]));
    };
    const qsizetype half = count / 2;
    if (twoThreads) {
        const NaturalOrder own;
        std::thread helper([&] { makeKeys(own.collator_, half, count); });
        makeKeys(collator_, 0, half);
        helper.join();
    } else {
        makeKeys(collator_, 0, count);
    }
    std::vector<QCollatorSortKey> keys;
    keys.reserve(count);
    for (auto& slot : slots)
        keys.push_back(std::move(*slot));
    sortAll([&](const NaturalOrder&) {
        return [&keys, &isFolder](qsizetype a, qsizetype b) {
            if (isFolder[a] != isFolder[b]) return bool(isFolder[a]);
            return keys[a].compare(keys[b]) < 0;
        };
    });
    return order;
}

std::vector<qsizetype> NaturalOrder::firstFoldersFirst(const QList<QString>& names,
                                                       const std::vector<bool>& isFolder,
                                                       qsizetype count) const
{
    return firstFoldersFirst(names, isFolder, plainNames(names), count);
}

std::vector<qsizetype> NaturalOrder::firstFoldersFirst(const QList<QString>& names,
                                                       const std::vector<bool>& isFolder,
                                                       const std::vector<bool>& plain,
                                                       qsizetype count) const
{
    std::vector<qsizetype> first;
    if (std::count(plain.begin(), plain.end(), false) > kFewOddNames) return first;
    // The sort's order exactly: equal names by their position, as a stable sort leaves them.
    auto less = [&](qsizetype a, qsizetype b) {
        if (isFolder[a] != isFolder[b]) return bool(isFolder[a]);
        const int order = plain[a] && plain[b] ? comparePlain(names[a], names[b])
                                               : collator_.compare(names[a], names[b]);
        return order != 0 ? order < 0 : a < b;
    };
    // The `count` least so far, the greatest of them on top.
    first.reserve(count + 1);
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (qsizetype(first.size()) == count) {
            if (count == 0 || !less(i, first.front())) continue;
            std::pop_heap(first.begin(), first.end(), less);
            first.back() = i;
        } else {
            first.push_back(i);
        }
        std::push_heap(first.begin(), first.end(), less);
    }
    std::sort_heap(first.begin(), first.end(), less);
    return first;
}

void NaturalOrder::sortFoldersFirst(QList<FileEntry>& entries) const
{
    QList<QString> names;
    names.reserve(entries.size());
    std::vector<bool> isFolder(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        names.append(entries[i].name);
        isFolder[i] = entries[i].isDirectory;
    }
    QList<FileEntry> sorted;
    sorted.reserve(entries.size());
    for (const qsizetype index : orderFoldersFirst(names, isFolder))
        sorted.append(std::move(entries[index]));
    entries = std::move(sorted);
}
