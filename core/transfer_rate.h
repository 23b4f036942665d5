#pragma once

#include <QtGlobal>
#include <optional>

// How fast the queue copies, from the bytes it moved and the time it spent
// copying (paused time left out), to tell how long the rest will take.
class TransferRate {
public:
    void add(qint64 bytes, qint64 milliseconds);
    // None until a second of copying was seen.
    std::optional<qint64> secondsFor(qint64 remainingBytes) const;

private:
    qint64 bytes_ = 0;
    qint64 milliseconds_ = 0;
};
