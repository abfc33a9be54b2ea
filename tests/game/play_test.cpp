// Whole games through the timer: a paddle that follows the ball clears two
// sets, then lets four balls go; every tick is checked against the rules
// that must hold whatever the ball does.
#include "game/board.h"
#include "game_fixture.h"
#include "platform/canvas.h"
#include "platform/picture.h"
#include "platform/timer.h"
#include "resources/resources.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::int64_t kMaxTicks = 2'000'000; // a regression must not hang the suite
constexpr int kSetsToClear = 2;

using Standing = std::array<std::array<bool, 5>, 5>; // [row][stone]

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
    [[nodiscard]] Fenster1::Row& row(int r) const
    {
        const std::array<Fenster1::Row*, 5> rows = { &f->rt, &f->gn, &f->bl, &f->ge, &f->li };
        return *rows[static_cast<std::size_t>(r)];
    }
    [[nodiscard]] platform::Picture& stonePicture(int r) const
    {
        const std::array<platform::Picture*, 5> pictures
            = { &*f->rt1, &*f->gn1, &*f->bl1, &*f->ge1, &*f->li1 };
        return *pictures[static_cast<std::size_t>(r)];
    }
    [[nodiscard]] static int stoneX(int r, int i)
    {
        return board::kRowFirstX[static_cast<std::size_t>(r)] + board::kStonePitch * i;
    }
    [[nodiscard]] Standing standing() const
    {
        Standing now {};
        for (int r = 0; r < 5; ++r) {
            for (int i = 0; i < 5; ++i) {
                now[r][i] = row(r)[static_cast<std::size_t>(i)] > 0;
            }
        }
        return now;
    }
    void launch(int boardX)
    {
        pointerOverBoardX(boardX);
        f->feld_MouseMove(boardX, 600);
        f->feld_MouseDown(boardX, 600);
    }
    [[nodiscard]] bool underBall(int x, int y) const
    {
        return x >= f->ballx && x < f->ballx + board::kBallSize && y >= f->bally
            && y < f->bally + board::kBallSize;
    }

    // The board picture, and the board where the ball does not cover it, show
    // each standing stone and the clean background where a stone has gone.
    void expectBoardMatches(const Standing& now, std::int64_t tick) const
    {
        static constexpr std::array<std::array<int, 2>, 3> samples = { { { 0, 0 }, { 50, 15 }, { 99, 29 } } };
        for (int r = 0; r < 5; ++r) {
            const int y = board::kRowY[static_cast<std::size_t>(r)];
            for (int i = 0; i < 5; ++i) {
                for (const auto& [dx, dy] : samples) {
                    const int x = stoneX(r, i);
                    const auto want
                        = now[r][i] ? stonePicture(r).pixel(dx, dy) : f->p1->pixel(x + dx, y + dy);
                    ASSERT_EQ(f->p->pixel(x + dx, y + dy), want)
                        << "tick " << tick << " row " << r << " stone " << i;
                    if (!underBall(x + dx, y + dy)) {
                        ASSERT_EQ(feld().pixel(x + dx, y + dy), want)
                            << "tick " << tick << " row " << r << " stone " << i;
                    }
                }
            }
        }
    }
};

TEST_F(PlayTest, FollowingPaddleClearsTwoSetsThenFourLostBallsEndTheGame)
{
    Offsets offsets;
    f->neu_Action();
    launch(300);

    std::int32_t expectedScore = 0;
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

        const Standing before = standing();
        const auto levelBefore = f->level;
        const auto lostBefore = f->ballzahl;
        f->Timer1_Action();
        const Standing after = standing();

        int points = 0;
        const bool setCleared = f->level == levelBefore + 1;
        for (int r = 0; r < 5; ++r) {
            for (int i = 0; i < 5; ++i) {
                // At a set's end every stone that stood fell in this tick.
                if (before[r][i] && (setCleared || !after[r][i])) {
                    points += board::kRowPoints[static_cast<std::size_t>(r)];
                }
                ASSERT_TRUE(setCleared || before[r][i] || !after[r][i])
                    << "tick " << tick << ": a stone came back";
            }
        }
        expectedScore += points;
        ASSERT_EQ(f->z, expectedScore) << "tick " << tick;

        if (setCleared) {
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
        for (int i = 0; i < 4; ++i) {
            ASSERT_EQ(f->control<platform::Canvas>("noch", i).visible(), i > f->ballzahl)
                << "tick " << tick << " noch(" << i << ") with " << f->ballzahl << " lost";
        }
        if (f->start == 2) {
            // The paddle's new step can carry the ball up to 4 pixels past a
            // side for one tick; the next tick turns it.
            ASSERT_GE(f->ballx, board::kLeftEdge - 4) << "tick " << tick;
            ASSERT_LE(f->ballx, board::kRightEdge + 4) << "tick " << tick;
            ASSERT_LE(f->bally, board::kLossLine) << "tick " << tick;
        }
        if (points > 0 || tick % 97 == 0) {
            expectBoardMatches(after, tick);
            if (HasFatalFailure()) {
                return;
            }
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
