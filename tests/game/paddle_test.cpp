// The paddle bounce: where the ball lands on the paddle sets its sideways step.
#include "game/board.h"
#include "game_fixture.h"

#include <array>

namespace {

// The sideways step for a landing offset o (ball centre less paddle left),
// written out as the bands a player sees, not as the formula.
[[nodiscard]] int expectedStep(int o)
{
    constexpr int kBandEnds[] = { 2, 14, 26, 38, 61, 73, 85, 97 }; // w = -4 up to the first
    int w = -4;
    for (const int end : kBandEnds) {
        w += o > end ? 1 : 0;
    }
    return w;
}

using PaddleTest = GameTest;

// Strictly inside the paddle the landing offset sets w and sends the ball up
// with the paddle's sound; on or beyond its ends the ball falls on.
TEST_F(PaddleTest, LandingOffsetSetsTheSidewaysStepAndSendsTheBallUp)
{
    const std::vector<Note> bounce = { { Kind::Program, board::kBounceInstrument - 1, 0 },
        { Kind::On, board::kPaddleNote, board::kLoud } };
    for (int mausx : { 0, 237, 500 }) {
        std::array<int, 100> steps {};
        for (int o = -40; o <= 140; ++o) {
            SCOPED_TRACE(testing::Message() << "mausx " << mausx << " o " << o);
            f->mausx = mausx;
            f->ballx = mausx + o - board::kBallHalf;
            f->s = 3;
            f->w = 7;
            notes->events.clear();
            f->auswertung_maus();
            if (o <= 0 || o >= 100) {
                EXPECT_EQ(std::pair(f->s, f->w), std::pair(3, 7));
                EXPECT_TRUE(notes->events.empty());
                continue;
            }
            EXPECT_EQ(f->s, board::kStepFromPaddle);
            EXPECT_EQ(f->w, expectedStep(o));
            EXPECT_EQ(notes->events, bounce) << "the note starts without ending the last one";
            steps.at(static_cast<std::size_t>(o)) = f->w;
        }
        for (std::size_t o = 1; o < 100; ++o) {
            EXPECT_EQ(steps.at(o), -steps.at(100 - o))
                << "mausx " << mausx << ": o " << o << " mirrors " << 100 - o;
        }
    }
}

} // namespace
