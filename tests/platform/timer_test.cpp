// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The fixed schedule of the timer, on a clock the test moves.
#include "platform/timer.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::int64_t kMs = 1'000'000;

class TimerTest : public testing::Test {
protected:
    void SetUp() override
    {
        timer.setClock([this] { return now; });
        timer.setMode(2);
        timer.setPeriod(4);
        timer.onAction = [this] { ticks.push_back(now); };
    }
    // Winds the clock on and wakes the timer; answers how many ticks came so far.
    std::size_t after(std::int64_t ms)
    {
        now += ms * kMs;
        timer.wakeUp();
        return ticks.size();
    }

    std::int64_t now = 1000 * kMs;
    platform::Window window;
    platform::Timer& timer = window.add<platform::Timer>("Timer1", platform::kNoIndex);
    std::vector<std::int64_t> ticks;
};

} // namespace

// A late wake-up delivers the missed ticks back to back, up to 100 ms of
// them; the rate holds on average whatever the wake-ups; enabling starts a
// fresh schedule, and enabling a running timer changes nothing.
TEST_F(TimerTest, TheScheduleCatchesUpToALimitHoldsTheRateAndStartsAfreshWhenEnabled)
{
    timer.setEnabled(true);
    now += 3 * kMs;
    timer.setEnabled(true); // already running: the schedule stays
    EXPECT_EQ(after(1), 1u);
    EXPECT_EQ(after(20), 6u);
    EXPECT_EQ(after(3), 6u); // not yet due
    EXPECT_EQ(after(5001), 6u + 25u); // at most 100 ms worth
    EXPECT_EQ(after(4), 32u); // the dropped ticks are not owed afterwards

    timer.setEnabled(false);
    now += 100 * kMs;
    timer.setEnabled(true); // nothing is owed for the time it was off
    EXPECT_EQ(after(0), 32u);
    const std::int64_t begin = now;
    for (int i = 0; i < 1000; ++i) {
        (void)after(i % 3 == 0 ? 7 : 3); // irregular wake-ups
    }
    EXPECT_EQ(static_cast<std::int64_t>(ticks.size()) - 32, (now - begin) / (4 * kMs));
}

// A burst delivers what was due when it began, and a tick never runs inside
// another, even when its handler runs the event loop and takes longer than a
// period; a failure inside a tick is caught and the burst goes on; disabling
// inside a tick stops the rest of the burst.
TEST_F(TimerTest, DisablingInsideATickStopsTheBurstAFailureDoesNotAndTicksNeverNest)
{
    int depth = 0;
    timer.onAction = [&] {
        EXPECT_EQ(++depth, 1) << "a tick inside a tick";
        now += 8 * kMs;
        timer.wakeUp(); // as if the handler ran the event loop
        --depth;
        ticks.push_back(now);
        if (ticks.size() == 2) {
            (void)window.control<platform::Timer>("missing");
        }
        if (ticks.size() == 4) {
            timer.setEnabled(false);
        }
    };
    timer.setEnabled(true);
    EXPECT_EQ(after(12), 3u);
    EXPECT_EQ(after(40), 4u);
    EXPECT_EQ(after(40), 4u);
}
