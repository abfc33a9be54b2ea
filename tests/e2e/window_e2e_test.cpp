// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game as a player first meets it: its window on a real X server, on a
// screen of ordinary density and on one of twice the density
// (QT_SCALE_FACTOR=2), where the window is twice as large in device pixels and
// shows the pinned frame of that scale, its pictures drawn from the art made
// for it, not stretched.
#include "e2e_fixture.h"

#include "platform/surface.h"

// Frameless, of a size the user cannot change; the content's first pixel at
// the window's origin (no title bar or frame pushes the picture, no scaling
// stretches it), and the first frame on the real screen the one pinned
// headless, every pixel of it. It comes to rest centred across the screen,
// 20 pixels below its top, where its X button waits.
TEST_F(GameOnScreen, OpensFramelessAtItsFixedSizeShowingThePinnedFrameAndTheXButtonEndsItWithStatusZero)
{
    const QSize size(layout::kWindowWidth, layout::kWindowHeight);
    const support::WindowHints hints = session.hints();
    EXPECT_EQ(hints.minimum, size) << "the user could make the window smaller";
    EXPECT_EQ(hints.maximum, size) << "the user could make the window larger";
    EXPECT_TRUE(hints.undecorated) << "a window manager would give it a title bar";
    EXPECT_TRUE(hints.closable) << "a window manager would kill it instead of asking it to close";
    EXPECT_TRUE(hints.title.starts_with("Zindra          2008")) << hints.title;
    expectPinnedFrame("first-frame-1x", 1);

    waitForRest();
    EXPECT_EQ(session.geometry().size(), size);
    EXPECT_EQ(session.geometry().x(), (support::GameSession::kScreenWidth - layout::kWindowWidth) / 2);
    session.clickQuit();
    EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
}

namespace {

constexpr int kScale = 2;

class GameAtScaleTwo : public GameOnScreen {
protected:
    void SetUp() override
    {
        atScale(kScale);
        session.setScreenSize({ 2000, 1600 });
        session.setEnvironment("QT_SCALE_FACTOR=" + std::to_string(kScale));
        start();
    }
    void TearDown() override
    {
        atScale(1);
        GameOnScreen::TearDown();
    }
    // The art this test reads, at the scale.
    static void atScale(int scale)
    {
        (void)resources::releaseAll();
        platform::detail::setSurfaceScale(scale);
    }
};

} // namespace

TEST_F(GameAtScaleTwo, WindowIsTwiceAsLargeAndShowsThePinnedFrame)
{
    EXPECT_EQ(session.geometry().size(), QSize(layout::kWindowWidth, layout::kWindowHeight) * kScale);
    expectPinnedFrame("first-frame-2x", kScale);
}
