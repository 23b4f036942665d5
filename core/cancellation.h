#pragma once

#include "file_error.h"

#include <functional>

// Asked at the fixed points of a long job; true means stop now.
using CancelCheck = std::function<bool()>;

inline void throwIfCancelled(const CancelCheck& isCancelled)
{
    if (isCancelled && isCancelled()) throw Cancelled();
}
