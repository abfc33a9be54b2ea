// The game on a real X server, played with the real pointer and keyboard.
#include "e2e_fixture.h"

#include <QRect>

using namespace std::chrono_literals;

namespace {

// The units digit, window coordinates.
constexpr QRect kUnits(791, 340, 30, 60);

} // namespace

class GameOnScreenPlaying : public GameOnScreen {
protected:
    void SetUp() override
    {
        GameOnScreen::SetUp();
        if (IsSkipped() || HasFailure()) {
            return;
        }
        ASSERT_TRUE(session.waitFor([&] { return session.geometry().y == 20; }, 10'000));
        ASSERT_TRUE(waitForFirstPaint());
    }

    [[nodiscard]] QImage board()
    {
        return session.windowShot().copy(layout::kBoard.left, layout::kBoard.top, 600, 690);
    }
};

TEST_F(GameOnScreenPlaying, ANewGameLaunchedByClickKnocksOutAStoneAndScores)
{
    const QImage digitBefore = session.windowShot().copy(kUnits);
    launchUnderFirstStone();
    EXPECT_TRUE(session.waitFor([&] { return !firstStoneStands(); }, 10'000)) << "the stone still stands";
    EXPECT_TRUE(session.waitFor([&] { return session.windowShot().copy(kUnits) != digitBefore; }, 10'000))
        << "the units digit did not change";
}

TEST_F(GameOnScreenPlaying, TheSpaceBarPausesAndResumesTheBall)
{
    launchUnderFirstStone();
    // A launch leaves the space bar's toggle at rest: the first press only
    // arms it, the second stops the ball.
    session.pressKey("space");
    QImage first = board();
    ASSERT_TRUE(session.waitFor([&] { return board() != first; }, 5'000)) << "the ball does not move";
    session.pressKey("space");
    // Let a tick that was already under way finish, then the board stands still.
    first = board();
    ASSERT_TRUE(session.waitFor(
        [&] {
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
}
