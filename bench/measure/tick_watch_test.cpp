// The tick probe's accounting on a real, headless game window: what it counts
// as the timer's running time, and that the game still plays under its hooks.
#include "tick_watch.h"

#include "tick_reader.h"

#include "game/fenster1.h"
#include "platform/canvas.h"
#include "platform/timer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

using measure::TickWatch;

constexpr std::int64_t kMs = 1'000'000;

class TickWatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        f = std::make_unique<Fenster1>();
        f->show();
        f->neu_Action(); // the ball waits
        watch.hook(*f);
    }

    void pressBoard() { f->control<platform::Canvas>("feld").MouseDown(300, 600); }
    void tick() { timer().Action(); }
    // The ball far from the paddle and about to cross the loss line.
    void tickLosingTheBall()
    {
        f->mausx = 0;
        f->ballx = 400;
        f->bally = 638;
        f->s = 5;
        tick();
    }
    [[nodiscard]] platform::Timer& timer() const { return f->control<platform::Timer>("Timer1"); }

    std::int64_t now = 1000 * kMs;
    TickWatch watch { [this] { return now; } };
    std::unique_ptr<Fenster1> f;
};

TEST_F(TickWatchTest, RunsFromTheLaunchToTheTickThatLosesTheBall)
{
    EXPECT_FALSE(watch.report().running);
    pressBoard();
    EXPECT_EQ(f->start, 2); // the game's own press still launched the ball
    EXPECT_TRUE(timer().enabled());

    for (int i = 0; i < 10; ++i) {
        now += 4 * kMs;
        tick();
    }
    now += 4 * kMs;
    tickLosingTheBall();
    EXPECT_FALSE(timer().enabled());

    now += 500 * kMs; // the ball waits: not counted
    const auto report = watch.report();
    EXPECT_FALSE(report.running);
    EXPECT_EQ(report.ranNs, 44 * kMs);
}

TEST_F(TickWatchTest, APressDuringPlayDoesNotStartTheRunAgain)
{
    pressBoard();
    now += 100 * kMs;
    pressBoard(); // the timer already runs
    now += 100 * kMs;
    const auto report = watch.report();
    EXPECT_TRUE(report.running);
    EXPECT_EQ(report.ranNs, 200 * kMs);
}

TEST_F(TickWatchTest, ATimerStoppedOutsideATickEndsTheRunAtTheNextReport)
{
    pressBoard();
    now += 100 * kMs;
    f->neu_Action(); // a new game in the middle of play stops the timer
    ASSERT_FALSE(timer().enabled());
    now += 50 * kMs;
    EXPECT_EQ(watch.report().ranNs, 150 * kMs);
    now += 1000 * kMs;
    EXPECT_EQ(watch.report().ranNs, 150 * kMs);
}

TEST_F(TickWatchTest, ItsLinesReadBackAsTheyWereWritten)
{
    pressBoard();
    now += 40 * kMs;
    const auto report = watch.report();
    measure::TickReader reader;
    reader.feed(TickWatch::line(report));
    ASSERT_EQ(reader.reports().size(), 1U);
    EXPECT_EQ(reader.reports()[0].ticks, report.ticks);
    EXPECT_EQ(reader.reports()[0].ranNs, 40 * kMs);
    EXPECT_EQ(reader.reports()[0].atNs, now);
}

} // namespace
