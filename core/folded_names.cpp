#include "folded_names.h"

#include "text_matcher.h"

#include <QStringView>
#include <algorithm>
#include <cstring>

namespace {

// glibc's memmem is much quicker than a loop on the first character.
std::size_t findIn(std::string_view text, std::string_view needle, std::size_t from)
{
    const void* at = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
    return at ? std::size_t(static_cast<const char*>(at) - text.data()) : std::string_view::npos;
}

std::size_t findIn(std::u16string_view text, std::u16string_view needle, std::size_t from)
{
    const qsizetype at = QStringView(text).indexOf(QStringView(needle), qsizetype(from));
    return at < 0 ? std::u16string_view::npos : std::size_t(at);
}

std::u16string_view unitsOf(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

} // namespace

template <typename Char> Char* FoldedNames::Packed<Char>::append(quint32 owner, std::size_t length)
{
    const std::size_t at = text.size();
    starts.push_back(quint32(at));
    owners.push_back(owner);
    text.resize(at + length + 1); // the NUL after the name comes with it
    return text.data() + at;
}

template <typename Char>
void FoldedNames::Packed<Char>::find(std::basic_string_view<Char> needle,
                                     std::vector<quint32>& hits,
                                     const CancelCheck& isCancelled) const
{
    const std::basic_string_view<Char> all(text);
    auto name = starts.begin();
    std::size_t from = 0;
    while (from < all.size()) {
        const std::size_t at = findIn(all, needle, from);
        if (at == all.npos) return;
        // Hits come in order, so the name holding this one is at or after the last.
        name = std::upper_bound(name, starts.end(), quint32(at)) - 1;
        const std::size_t end = name + 1 == starts.end() ? all.size() - 1 : *(name + 1) - 1;
        if (at + needle.size() > end) {
            // Runs past the end of the name (the needle holds a NUL): look on inside it.
            from = at + 1;
            continue;
        }
        hits.push_back(owners[std::size_t(name - starts.begin())]);
        if (hits.size() % 256 == 0) throwIfCancelled(isCancelled);
        from = end + 1;
    }
}

template <typename Char> qsizetype FoldedNames::Packed<Char>::bytes() const
{
    return qsizetype(text.capacity() * sizeof(Char) +
                     (starts.capacity() + owners.capacity()) * sizeof(quint32));
}

template <typename Char> void FoldedNames::Packed<Char>::squeeze()
{
    text.shrink_to_fit();
    starts.shrink_to_fit();
    owners.shrink_to_fit();
}

void FoldedNames::add(quint32 owner, const QString& name)
{
    // ASCII folds to its lower case; only other names pay for the full folding.
    if (QtPrivate::isAscii(QStringView(name))) {
        char* out = narrow_.append(owner, std::size_t(name.size()));
        for (QChar c : name) {
            const char16_t unit = c.unicode();
            *out++ = char(unit >= u'A' && unit <= u'Z' ? unit + (u'a' - u'A') : unit);
        }
        return;
    }
    const QString folded = TextMatcher::folded(name);
    if (QtPrivate::isLatin1(QStringView(folded))) {
        char* out = narrow_.append(owner, std::size_t(folded.size()));
        for (QChar c : folded)
            *out++ = char(c.unicode());
    } else {
        const std::u16string_view units = unitsOf(folded);
        std::copy(units.begin(), units.end(), wide_.append(owner, units.size()));
    }
}

std::vector<quint32> FoldedNames::containing(const QString& needle,
                                             const CancelCheck& isCancelled) const
{
    const QString folded = TextMatcher::folded(needle);
    if (folded.isEmpty()) return owners();
    std::vector<quint32> hits;
    // A needle beyond Latin-1 cannot be in a name that folds to Latin-1.
    if (QtPrivate::isLatin1(QStringView(folded))) {
        const QByteArray bytes = folded.toLatin1();
        narrow_.find(std::string_view(bytes.constData(), std::size_t(bytes.size())), hits,
                     isCancelled);
    }
    std::vector<quint32> wideHits;
    wide_.find(unitsOf(folded), wideHits, isCancelled);
    if (wideHits.empty()) return hits;
    std::vector<quint32> merged(hits.size() + wideHits.size());
    std::merge(hits.begin(), hits.end(), wideHits.begin(), wideHits.end(), merged.begin());
    return merged;
}

std::vector<quint32> FoldedNames::owners() const
{
    std::vector<quint32> all(narrow_.owners.size() + wide_.owners.size());
    std::merge(narrow_.owners.begin(), narrow_.owners.end(), wide_.owners.begin(),
               wide_.owners.end(), all.begin());
    return all;
}

qsizetype FoldedNames::bytes() const
{
    return narrow_.bytes() + wide_.bytes();
}

void FoldedNames::squeeze()
{
    narrow_.squeeze();
    wide_.squeeze();
}
