// The global helpers the game's arithmetic and quitting rely on.
#include "platform/globals.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Conversions, DoubleToInt32DropsTheFractionTowardZero)
{
    EXPECT_EQ(platform::ToInt32(2.99), 2);
    EXPECT_EQ(platform::ToInt32(-2.99), -2);
    EXPECT_EQ(platform::ToInt32(-0.5), 0);
    EXPECT_EQ(platform::ToInt32(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(platform::ToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(platform::ToInt32(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Conversions, StrAndRightGiveTheLastDigit)
{
    EXPECT_EQ(platform::Str(0), "0");
    EXPECT_EQ(platform::Str(1234), "1234");
    EXPECT_EQ(platform::Str(-7), "-7");
    EXPECT_EQ(platform::Right("1234", 1), "4");
    EXPECT_EQ(platform::Right("7", 3), "7");
    EXPECT_EQ(platform::Right("abc", 0), "");
    EXPECT_EQ(platform::Min(3, 2), 2);
    EXPECT_EQ(platform::Max(-1, -4), -1);
}

TEST(Quitting, QuitTwiceEndsOnceWithTheFirstCode)
{
    platform::resetQuit();
    EXPECT_FALSE(platform::quitRequested());
    platform::Quit(0);
    platform::Quit(3);
    EXPECT_TRUE(platform::quitRequested());
    EXPECT_EQ(platform::quitCode(), 0);
    platform::resetQuit();
}

TEST(Pointer, TheSeamReplacesTheScreenPosition)
{
    platform::setMouseXSource([] { return 1234; });
    EXPECT_EQ(platform::MouseX(), 1234);
    platform::setMouseXSource({});
}

TEST(Reports, TheSameFailureAgainIsCountedButSaidOnlyAtPowersOfTen)
{
    const int before = platform::reportedFailures();
    testing::internal::CaptureStderr();
    for (int i = 0; i < 250; ++i) {
        platform::reportFailure("Action", "picture maus2 is missing");
    }
    platform::reportFailure("Paint", "something else");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(platform::reportedFailures(), before + 251);
    EXPECT_EQ(said,
        "zindra: failure in Action: picture maus2 is missing\n"
        "zindra: the same failure 10 times\n"
        "zindra: the same failure 100 times\n"
        "zindra: failure in Paint: something else\n");
}
