#pragma once

#include "cancellation.h"

#include <QString>
#include <string>
#include <string_view>
#include <vector>

// Many names in the form TextMatcher compares them in, folded once and packed
// so that a search is one scan of a buffer instead of a fold per name. Names
// that fold to Latin-1 (nearly all) take one byte per character.
class FoldedNames {
public:
    // Adds the name of `owner`; owners come in increasing order.
    void add(quint32 owner, const QString& name);

    // The owners whose name contains `needle` as TextMatcher::foundIn decides
    // it, in increasing order. Throws Cancelled when `isCancelled` says so
    // after every 256th hit.
    std::vector<quint32> containing(const QString& needle,
                                    const CancelCheck& isCancelled = {}) const;
    // Every owner, in increasing order.
    std::vector<quint32> owners() const;

    qsizetype size() const { return qsizetype(narrow_.owners.size() + wide_.owners.size()); }
    // The heap bytes held.
    qsizetype bytes() const;
    // Gives back what was reserved beyond the names.
    void squeeze();

private:
    // Names one after another, each ended by a NUL that no match may span.
    template <typename Char> struct Packed {
        std::basic_string<Char> text;
        std::vector<quint32> starts; // where each name begins in `text`
        std::vector<quint32> owners;

        // Room for a name of `length` units, for the caller to fill.
        Char* append(quint32 owner, std::size_t length);
        void find(std::basic_string_view<Char> needle, std::vector<quint32>& hits,
                  const CancelCheck& isCancelled) const;
        qsizetype bytes() const;
        void squeeze();
    };

    Packed<char> narrow_;   // names folded to Latin-1
    Packed<char16_t> wide_; // the others, in UTF-16
};
