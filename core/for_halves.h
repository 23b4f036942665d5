#pragma once

#include <cstddef>
#include <thread>

// Whether work over `count` items is worth a second thread: below a few
// thousand the thread costs more than it saves.
inline bool worthTwoThreads(std::size_t count)
{
    return count >= 4096 && std::thread::hardware_concurrency() > 1;
}

// Runs `each(from, to)` over [0, count): the second half on a helper thread
// when that is worth it.
template <typename Each> void forHalves(std::size_t count, Each each)
{
    if (!worthTwoThreads(count)) {
        each(std::size_t(0), count);
        return;
    }
    const std::size_t half = count / 2;
    std::thread helper([&] { each(half, count); });
    each(std::size_t(0), half);
    helper.join();
}
