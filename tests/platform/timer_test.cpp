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

TEST_F(TimerTest, ALateWakeUpDeliversTheMissedTicksBackToBackUpTo100Ms)
{
    timer.setEnabled(true);
    now += 20 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 5u);
    now += 3 * kMs; // not yet due
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 5u);
    now += 1 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 6u);
    now += 5000 * kMs; // at most 100 ms worth
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 6u + 25u);
    now += 4 * kMs; // the dropped ticks are not owed afterwards
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 32u);
}

TEST_F(TimerTest, TheRateHoldsOnAverageWhateverTheWakeUps)
{
    timer.setEnabled(true);
    const std::int64_t begin = now;
    for (int i = 0; i < 1000; ++i) {
        now += (i % 3 == 0 ? 7 : 3) * kMs; // irregular wake-ups
        timer.wakeUp();
    }
    EXPECT_EQ(static_cast<std::int64_t>(ticks.size()), (now - begin) / (4 * kMs));
}

TEST_F(TimerTest, DisablingInsideATickStopsTheRestOfTheBurst)
{
    timer.onAction = [this] {
        ticks.push_back(now);
        if (ticks.size() == 2) {
            timer.setEnabled(false);
        }
    };
    timer.setEnabled(true);
    now += 40 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 2u);
    now += 40 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 2u);
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

TEST_F(TimerTest, EnablingStartsAFreshScheduleAndReenablingARunningOneChangesNothing)
{
    timer.setEnabled(true);
    now += 3 * kMs;
    timer.setEnabled(true); // already running: the schedule stays
    now += 1 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 1u);
    timer.setEnabled(false);
    now += 100 * kMs;
    timer.setEnabled(true); // nothing is owed for the time it was off
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 1u);
    now += 4 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 2u);
}

TEST_F(TimerTest, AFailureInATickIsCaughtAndTheBurstGoesOn)
{
    timer.onAction = [this] {
        ticks.push_back(now);
        (void)window.control<platform::Timer>("missing");
    };
    timer.setEnabled(true);
    now += 8 * kMs;
    timer.wakeUp();
    EXPECT_EQ(ticks.size(), 2u);
}
