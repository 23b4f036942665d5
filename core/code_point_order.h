#pragma once

#include <QStringView>

// Plain Unicode order: by code point, no locale, upper case before lower case.
// QString's own operator< compares UTF-16 units, which puts characters above
// U+FFFF (stored as surrogates) before U+E000..U+FFFF; this does not.
inline int compareCodePoints(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y) continue;
        // Surrogates move above the rest of the BMP, everything else keeps its place.
        auto rank = [](char16_t c) -> int {
            if (c >= 0xE000) return c - 0x800;
            if (c >= 0xD800) return c + 0x2000;
            return c;
        };
        return rank(x) < rank(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

inline bool codePointLess(QStringView a, QStringView b)
{
    return compareCodePoints(a, b) < 0;
}
