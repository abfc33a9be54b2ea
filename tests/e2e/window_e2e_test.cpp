// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game as a player first meets it: its window on a real X server and the
// two ways to end it.
#include "e2e_fixture.h"


using namespace std::chrono_literals;

namespace {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 730;
// Where every paint puts the window's top, in screen pixels.
constexpr int kWindowTop = 20;

} // namespace

TEST_F(GameOnScreen, OpensFramelessAtItsFixedSizeCentredAcrossTheScreen)
{
    const support::Geometry window = session.geometry();
    EXPECT_EQ(window.width, kWindowWidth);
    EXPECT_EQ(window.height, kWindowHeight);
    EXPECT_EQ(window.x, (support::GameSession::kScreenWidth - kWindowWidth) / 2);

    const support::SizeHints limits = session.sizeHints();
    EXPECT_EQ(limits.minWidth, kWindowWidth) << "the user could make the window narrower";
    EXPECT_EQ(limits.maxWidth, kWindowWidth) << "the user could make the window wider";
    EXPECT_EQ(limits.minHeight, kWindowHeight);
    EXPECT_EQ(limits.maxHeight, kWindowHeight);

    EXPECT_TRUE(session.asksForNoDecorations()) << "a window manager would give it a title bar";
    EXPECT_TRUE(session.title().starts_with("Zindra          2008")) << session.title();
}

// The content's first pixel lies at the window's origin (no title bar or
// frame pushes the picture, no scaling stretches it), and the first frame on
// the real screen is the one pinned headless, every pixel of it.
TEST_F(GameOnScreen, ShowsThePinnedFirstFrame)
{
    expectPinnedFrame("first-frame-1x", 1);
}

TEST_F(GameOnScreen, ClosingTheWindowEndsTheGameWithStatusZero)
{
    ASSERT_TRUE(session.closeWindow()) << session.error();
    const std::optional<int> status = session.waitForExit(10'000);
    ASSERT_TRUE(status.has_value()) << session.error();
    EXPECT_EQ(*status, 0);
}

// The window comes to rest 20 pixels below the screen's top, where its X
// button waits.
TEST_F(GameOnScreen, ComesToRestBelowTheScreenTopWhereTheXButtonEndsTheGameWithStatusZero)
{
    ASSERT_TRUE(session.waitFor([&] { return session.geometry().y == kWindowTop; }, 10'000))
        << "top at " << session.geometry().y;
    EXPECT_EQ(session.geometry().x, (support::GameSession::kScreenWidth - kWindowWidth) / 2);
    ASSERT_TRUE(waitForFirstPaint());
    session.clickQuit();
    const std::optional<int> status = session.waitForExit(10'000);
    ASSERT_TRUE(status.has_value()) << session.error();
    EXPECT_EQ(*status, 0);
}
