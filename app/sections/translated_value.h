#pragma once

#include "raw_enum.h"

#include <QCoreApplication>

// A case's fixed English text as shown: translated in `context`, where the
// enumeration marks its texts with QT_TRANSLATE_NOOP(context, …).
template <typename E> QString translatedValue(const char* context, E value)
{
    for (const auto& [c, text] : RawValues<E>::cases)
        if (c == value) return QCoreApplication::translate(context, text);
    return {};
}
