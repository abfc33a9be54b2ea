#include "update_counter.h"

#include <gtest/gtest.h>

namespace {

using measure::UpdateCounter;

TEST(UpdateCounter, RectanglesOfOneUpdateCountOnce)
{
    UpdateCounter updates;
    updates.drawn(1000);
    updates.drawn(1000);
    updates.drawn(1001); // the same update, straddling a millisecond
    EXPECT_EQ(updates.count(), 1);
    updates.drawn(1003); // two after the last: the next update
    updates.drawn(1007);
    EXPECT_EQ(updates.count(), 3);
}

TEST(UpdateCounter, TheFirstDrawingCountsAtAnyTime)
{
    UpdateCounter updates;
    updates.drawn(0);
    EXPECT_EQ(updates.count(), 1);
}

TEST(UpdateCounter, TheServerClockWrappingAroundIsNoGap)
{
    UpdateCounter updates;
    updates.drawn(0xFFFFFFFFU);
    updates.drawn(0); // a millisecond later
    EXPECT_EQ(updates.count(), 1);
    updates.drawn(4);
    EXPECT_EQ(updates.count(), 2);
}

} // namespace
