// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game on a screen of twice the density (QT_SCALE_FACTOR=2): the window
// twice as large in device pixels, and the pinned frame of that scale on the
// screen, its pictures drawn from the art made for it, not stretched.
#include "e2e_fixture.h"

#include "platform/surface.h"

namespace {

constexpr int kScale = 2;

class GameAtScaleTwo : public GameOnScreen {
protected:
    void SetUp() override
    {
        atScale(kScale);
        session.setScreenSize(2000, 1600);
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
    EXPECT_EQ(session.geometry().width, 900 * kScale);
    EXPECT_EQ(session.geometry().height, 730 * kScale);
    expectPinnedFrame("first-frame-2x", kScale);
}
