// The game on a real X server: the layout as the screen shows it, and a game
// played with the real pointer and keyboard.
#include "e2e_fixture.h"

#include <QRect>

using namespace std::chrono_literals;

namespace {

constexpr platform::Color kBevelLight = 0x663300;
constexpr platform::Color kBevelDark = 0x996633;
constexpr platform::Color kFill = 0x432100;
constexpr platform::Color kBlack = 0x000000;

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

TEST_F(GameOnScreenPlaying, TheLayoutShowsItsFramesSamplesAndButtonOutlines)
{
    const QImage shot = session.windowShot();
    ASSERT_FALSE(shot.isNull());
    // The bevelled frame around the board: light top and left, darker bottom
    // and right, the dark fill between the bevel and the board.
    EXPECT_TRUE(alike(shot.pixel(300, 12), kBevelLight));
    EXPECT_TRUE(alike(shot.pixel(12, 300), kBevelLight));
    EXPECT_TRUE(alike(shot.pixel(300, 717), kBevelDark));
    EXPECT_TRUE(alike(shot.pixel(627, 300), kBevelDark));
    EXPECT_TRUE(alike(shot.pixel(18, 300), kFill));
    // The five stone samples carry the stones' dark-brown frame on all sides.
    for (int top : { 71, 113, 155, 200, 243 }) {
        const int left = top == 71 ? 684 : 685;
        EXPECT_TRUE(alike(shot.pixel(left + 50, top), kBevelLight)) << "sample at " << top;
        EXPECT_TRUE(alike(shot.pixel(left, top + 15), kBevelLight)) << "sample at " << top;
        EXPECT_TRUE(alike(shot.pixel(left + 99, top + 15), kBevelLight)) << "sample at " << top;
        EXPECT_TRUE(alike(shot.pixel(left + 50, top + 29), kBevelLight)) << "sample at " << top;
    }
    // The digit buttons and the "X" are square with a black outline.
    for (int left : { 701, 731, 761, 791 }) {
        EXPECT_TRUE(alike(shot.pixel(left, 370), kBlack)) << "digit at " << left;
        EXPECT_TRUE(alike(shot.pixel(left + 15, 340), kBlack)) << "digit at " << left;
        EXPECT_TRUE(alike(shot.pixel(left + 15, 399), kBlack)) << "digit at " << left;
    }
    EXPECT_TRUE(alike(shot.pixel(868, 17), kBlack));
    EXPECT_TRUE(alike(shot.pixel(887, 17), kBlack));
    EXPECT_TRUE(alike(shot.pixel(878, 7), kBlack));
}

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
