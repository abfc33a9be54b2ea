#include "tick_reader.h"

#include <gtest/gtest.h>

namespace {

using measure::TickReader;

constexpr long long kSecond = 1'000'000'000;

TEST(TickReader, PutsTogetherLinesThatArriveInPieces)
{
    TickReader reader;
    reader.feed("ticks 10 40000");
    reader.feed("000 5000000 1\nticks 2");
    EXPECT_EQ(reader.reports().size(), 1U);
    reader.feed("0 80000000 9000000 1\nnoise\n");
    ASSERT_EQ(reader.reports().size(), 2U);
    EXPECT_EQ(reader.reports()[0].ticks, 10);
    EXPECT_EQ(reader.reports()[0].ranNs, 40'000'000);
    EXPECT_EQ(reader.reports()[1].atNs, 9'000'000);
}

// A waiting ball stops the timer: that time counts neither ticks nor time.
TEST(TickReader, RateRestsOnRunningTimeOnly)
{
    TickReader reader;
    reader.feed("ticks 0 0 0 1\n");
    reader.feed("ticks 250 1000000000 1000000000 0\n"); // a second of play, then the ball waits
    reader.feed("ticks 250 1000000000 3000000000 1\n"); // two seconds later it is launched
    reader.feed("ticks 500 2000000000 4000000000 1\n");
    const auto rate = reader.rate(0, 4000);
    ASSERT_TRUE(rate.has_value());
    EXPECT_DOUBLE_EQ(rate->ticksPerSecond, 250.0);
    EXPECT_DOUBLE_EQ(rate->ranSeconds, 2.0);
}

TEST(TickReader, RateUsesTheReportsInsideTheWindow)
{
    TickReader reader;
    for (long long s = 0; s <= 4; ++s) {
        // 200 ticks in the first second, 250 a second from then on.
        const long long ticks = s == 0 ? 0 : 200 + 250 * (s - 1);
        reader.feed("ticks " + std::to_string(ticks) + " " + std::to_string(s * kSecond) + " "
            + std::to_string(s * kSecond) + " 1\n");
    }
    const auto rate = reader.rate(500, 3500); // the reports at 1, 2 and 3 s
    ASSERT_TRUE(rate.has_value());
    EXPECT_DOUBLE_EQ(rate->ticksPerSecond, 250.0);
    EXPECT_DOUBLE_EQ(rate->ranSeconds, 2.0);
}

} // namespace
