#pragma once

#include <QString>
#include <array>
#include <optional>
#include <utility>

// Enumerations whose cases carry a fixed string (their title or key). Each enum
// specialises RawValues<E> with `static constexpr std::array cases` of
// {case, UTF-8 text} pairs in declaration order.
template <typename E> struct RawValues;

template <typename E> constexpr auto allCases()
{
    std::array<E, RawValues<E>::cases.size()> result{};
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = RawValues<E>::cases[i].first;
    return result;
}

template <typename E> QString rawValue(E value)
{
    for (const auto& [c, text] : RawValues<E>::cases)
        if (c == value) return QString::fromUtf8(text);
    return {};
}

template <typename E> std::optional<E> fromRawValue(QStringView text)
{
    for (const auto& [c, raw] : RawValues<E>::cases)
        if (text == QString::fromUtf8(raw)) return c;
    return std::nullopt;
}
