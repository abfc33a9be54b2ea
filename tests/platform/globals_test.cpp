// Quitting once, and how failures that left a handler are said.
#include "platform/globals.h"

#include <gtest/gtest.h>

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
