// What the measurement reads and counts: /proc figures and screen updates.
#include "proc_stats.h"
#include "update_counter.h"

#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using measure::parseCpuTicks;
using measure::parseResidentKb;
using measure::UpdateCounter;

// Fields 14 and 15 are utime and stime: 1234 and 567 here.
constexpr const char* kStatTail
    = " S 1 1234 1234 0 -1 4194560 6000 0 12 0 1234 567 0 0 20 0 3 0 100 500000000 9000";

TEST(CpuTicks, AddsUserAndSystemTime)
{
    EXPECT_EQ(parseCpuTicks(std::string("4242 (zindra)") + kStatTail), 1234 + 567);
}

TEST(CpuTicks, CountsFieldsFromTheLastParenthesisOfTheName)
{
    // A program may call itself anything, spaces and parentheses included.
    EXPECT_EQ(parseCpuTicks(std::string("4242 (a) b ) c)") + kStatTail), 1801);
}

TEST(CpuTicks, NothingFromALineThatEndsEarlyOrHasNoName)
{
    EXPECT_FALSE(parseCpuTicks("4242 (zindra) S 1 1234 1234 0 -1 4194560 6000 0 12 0 1234").has_value());
    EXPECT_FALSE(parseCpuTicks("4242 zindra S 1 2 3").has_value());
    EXPECT_FALSE(parseCpuTicks("").has_value());
}

TEST(ResidentMemory, ReadsVmRssAndOnlyVmRss)
{
    EXPECT_EQ(
        parseResidentKb("Name:\tzindra\nVmHWM:\t  99999 kB\nVmRSS:\t   38120 kB\nRssAnon:\t 1 kB\n"), 38120);
    EXPECT_EQ(parseResidentKb("VmRSS:\t1 kB"), 1); // last line, no newline
    EXPECT_FALSE(parseResidentKb("Name:\tkthreadd\nVmHWM:\t 5 kB\n").has_value()); // a kernel thread has none
}

TEST(ProcessFigures, AreThereForALiveProcess)
{
    EXPECT_TRUE(measure::cpuTicks(getpid()).has_value());
    EXPECT_GT(measure::residentKb(getpid()).value_or(0), 0);
    EXPECT_FALSE(measure::residentKb(-1).has_value());
}

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
