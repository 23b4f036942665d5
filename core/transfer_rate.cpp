#include "transfer_rate.h"

#include <cmath>

namespace {

constexpr qint64 kLeastSample = 1000;

} // namespace

void TransferRate::add(qint64 bytes, qint64 milliseconds)
{
    bytes_ += qMax<qint64>(0, bytes);
    milliseconds_ += qMax<qint64>(0, milliseconds);
}

std::optional<qint64> TransferRate::secondsFor(qint64 remainingBytes) const
{
    if (milliseconds_ < kLeastSample || bytes_ <= 0) return std::nullopt;
    const double seconds = double(remainingBytes) * double(milliseconds_) / double(bytes_) / 1000;
    return qint64(std::ceil(seconds));
}
