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
    now += 1 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 1u);
    now += 20 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 6u);
    now += 3 * kMs; // not yet due
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 6u);
    now += 5001 * kMs; // at most 100 ms worth
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 6u + 25u);
    now += 4 * kMs; // the dropped ticks are not owed afterwards
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 32u);

    timer.setEnabled(false);
    now += 100 * kMs;
    timer.setEnabled(true); // nothing is owed for the time it was off
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 32u);
    const std::int64_t begin = now;
    for (int i = 0; i < 1000; ++i) {
        now += (i % 3 == 0 ? 7 : 3) * kMs; // irregular wake-ups
        timer.wakeUp();
    }
    EXPECT_EQ(static_cast<std::int64_t>(ticks.size()) - 32, (now - begin) / (4 * kMs));
}

// Disabling inside a tick stops the rest of the burst; a failure inside a
// tick is caught and the burst goes on.
TEST_F(TimerTest, DisablingInsideATickStopsTheBurstAndAFailureDoesNot)
{
    timer.onAction = [this] {
        ticks.push_back(now);
        if (ticks.size() == 2) {
            (void)window.control<platform::Timer>("missing");
        }
        if (ticks.size() == 4) {
            timer.setEnabled(false);
        }
    };
    timer.setEnabled(true);
    now += 40 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 4u);
    now += 40 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 4u);
}

TEST_F(TimerTest, TicksNeverNest)
{
    int depth = 0;
    int deepest = 0;
    timer.onAction = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        now += 8 * kMs;
        timer.wakeUp(); // as if the handler ran the event loop
        --depth;
        ticks.push_back(now);
    };
    timer.setEnabled(true);
    now += 12 * kMs;
    timer.wakeUp();
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(ticks.size(), 3u);
}
