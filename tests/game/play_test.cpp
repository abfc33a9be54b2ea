// Whole games through the timer: a paddle that follows the ball clears two
// sets without losing a ball, then lets four balls go and the game ends.
#include "game/board.h"
#include "game_fixture.h"
#include "platform/picture.h"
#include "platform/timer.h"
#include "resources/resources.h"

#include <cstdint>

namespace {

constexpr std::int64_t kMaxTicks = 2'000'000; // a regression must not hang the suite
constexpr int kSetsToClear = 2;

// Deterministic landing offsets from the paddle's middle, -45..45, so that
// the ball leaves the paddle at every angle.
class Offsets {
public:
    [[nodiscard]] int next()
    {
        state_ = state_ * 1664525U + 1013904223U;
        return static_cast<int>((state_ >> 16) % 91U) - 45;
    }

private:
    std::uint32_t state_ = 12345U;
};

} // namespace

class PlayTest : public GameTest {
protected:
    void launch(int boardX)
    {
        pointerOverBoardX(boardX);
        f->feld_MouseMove(boardX, 600);
        f->feld_MouseDown(boardX, 600);
    }
};

TEST_F(PlayTest, FollowingPaddleClearsTwoSetsThenFourLostBallsEndTheGame)
{
    Offsets offsets;
    f->neu_Action();
    launch(300);

    int setsCleared = 0;
    std::int64_t tick = 0;
    for (; tick < kMaxTicks && f->start != 3; ++tick) {
        const bool following = setsCleared < kSetsToClear;
        if (f->start == 1) {
            launch(300);
        }
        const int m = f->ballx + board::kBallHalf;
        if (following) {
            pointerOverBoardX(m - offsets.next());
        } else {
            pointerOverBoardX(m > 300 ? 0 : 600); // the paddle at the far end
        }

        const auto levelBefore = f->level;
        const auto scoreBefore = f->z;
        const auto lostBefore = f->ballzahl;
        f->Timer1_Action();
        ASSERT_GE(f->z, scoreBefore) << "tick " << tick;

        if (f->level == levelBefore + 1) {
            ++setsCleared;
            ASSERT_EQ(f->z, board::kPointsPerSet * setsCleared) << "tick " << tick;
            ASSERT_EQ(f->start, 1);
            ASSERT_FALSE(timer().enabled());
            ASSERT_EQ(f->w, 0);
            // The strike that cleared the set chose the step, at the new level's speed.
            ASSERT_TRUE(f->s == board::kStepDownFromStone + f->level || f->s == board::kStepUpFromStone)
                << "s " << f->s << " level " << f->level;
            ASSERT_EQ(f->bally, board::kBallAfterLevel + f->s) << "the tick still moved the ball";
            const auto& hinternis = *resources::hinternis();
            const int cx = hinternis.width() / 2;
            const int cy = hinternis.height() / 2;
            ASSERT_EQ(f->p->pixel(board::kObstacleX + cx, board::kObstacleY + cy), hinternis.pixel(cx, cy));
        }

        if (following) {
            ASSERT_EQ(f->ballzahl, 0) << "tick " << tick << ": the following paddle missed";
        } else {
            ASSERT_LE(f->ballzahl - lostBefore, 1);
        }
    }

    ASSERT_LT(tick, kMaxTicks) << "the game did not end";
    RecordProperty("ticks", static_cast<int>(tick));
    EXPECT_EQ(setsCleared, kSetsToClear);
    EXPECT_EQ(f->start, 3);
    EXPECT_EQ(f->level, 0);
    EXPECT_EQ(f->ballzahl, 4);
    EXPECT_FALSE(timer().enabled());
}
