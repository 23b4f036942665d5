#include "media/thumbnail_gate.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(ThumbnailGate, FourRunAndTheRestFollowInArrivalOrder)
{
    ThumbnailGate gate;
    std::vector<int> granted;
    for (int i = 1; i <= 7; ++i)
        gate.acquire(i, [&granted, i] { granted.push_back(i); });
    EXPECT_EQ(granted, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(gate.active(), 4);
    EXPECT_EQ(gate.waiting(), 3);

    // The slot passes on directly; the count never dips below the limit.
    gate.release();
    EXPECT_EQ(granted.back(), 5);
    EXPECT_EQ(gate.active(), 4);

    // A waiter that leaves takes no slot, and the next one moves up.
    EXPECT_TRUE(gate.cancel(6));
    EXPECT_FALSE(gate.cancel(6));
    EXPECT_FALSE(gate.cancel(1)); // running, not waiting
    gate.release();
    EXPECT_EQ(granted, (std::vector<int>{1, 2, 3, 4, 5, 7}));
    for (int i = 0; i < 4; ++i)
        gate.release();
    EXPECT_EQ(gate.active(), 0);
    gate.release();
    EXPECT_EQ(gate.active(), 0);
}

} // namespace
