// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game on a real X server, played with the real pointer and keyboard.
#include "e2e_fixture.h"

namespace {

// The units digit, window coordinates.
constexpr QRect kUnits(791, 340, 30, 60);

} // namespace

// The space bar pauses a ball launched by a click and lets it go on; the
// ball knocks out the stone above it and scores. Xvfb refreshes its screen 60
// times a second. A moving ball gives one new frame at every refresh: 60 a
// second on the server's clock, each one vertical blank after the last, none
// repeated in a refresh or skipped; a game that waits, with the pointer at
// rest, draws nothing at all. A window manager's close, with the ball in
// play, ends the game normally.
TEST_F(GameOnScreen, ABallLaunchedByClickPausesOnTheSpaceBarScoresDrawsOnePerRefreshAndEndsOnClose)
{
    waitForRest();
    EXPECT_TRUE(session.waitFor([&] { return support::nowMs() - session.lastDrawnAt() >= 1'000; }, 10'000))
        << "the window never rests";
    const QImage digitBefore = session.windowShot().copy(kUnits);
    launchUnderFirstStone(); // straight up and, off the paddle's middle, straight up again: it never stops
    // A launch leaves the space bar's toggle at rest: the first press only
    // arms it, the second stops the ball.
    const auto board = [&] {
        const layout::Bounds b = layout::kBoard;
        return session.windowShot().copy(b.left, b.top, b.width, b.height);
    };
    session.pressKey("space");
    QImage first = board();
    ASSERT_TRUE(session.waitFor([&] { return board() != first; }, 5'000)) << "the ball does not move";
    session.pressKey("space");
    // Let a tick that was already under way finish, then the board stands
    // still over a few refreshes (a busy machine can hold the game up for one).
    first = board();
    ASSERT_TRUE(session.waitFor(
        [&] {
            session.pump(200);
            const QImage now = board();
            const bool still = now == first;
            first = now;
            return still;
        },
        5'000));
    const QImage paused = board();
    EXPECT_FALSE(session.waitFor([&] { return board() != paused; }, 1'000)) << "the ball moved while paused";
    session.pressKey("space");
    EXPECT_TRUE(session.waitFor([&] { return board() != paused; }, 5'000)) << "the ball did not go on";
    EXPECT_TRUE(session.waitFor([&] { return !firstStoneStands(); }, 10'000)) << "the stone still stands";
    EXPECT_TRUE(session.waitFor([&] { return session.windowShot().copy(kUnits) != digitBefore; }, 10'000))
        << "the units digit did not change";
    const std::size_t from = session.updatesOnServer().size();
    session.pump(5'000);
    const std::vector<double> frames(session.updatesOnServer().begin() + static_cast<std::ptrdiff_t>(from),
        session.updatesOnServer().end());
    ASSERT_GT(frames.size(), 2U);
    EXPECT_NEAR(
        static_cast<double>(frames.size() - 1) * 1000.0 / (frames.back() - frames.front()), 60.0, 1.0);
    const std::size_t outOfStep = frames.size() - 1 - session.updatesInStep(from);
    EXPECT_LE(outOfStep * 100, frames.size() - 1) << outOfStep << " of " << frames.size() - 1
                                                  << " frames came other than one refresh after the last";

    session.closeWindow();
    EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
}
