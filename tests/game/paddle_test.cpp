// The paddle bounce and the range test.
#include "game/board.h"
#include "game_fixture.h"

#include <cstdint>
#include <limits>

namespace {

// The sideways step for a landing offset o (ball centre less paddle left),
// written out as the bands a player sees, not as the formula.
[[nodiscard]] int expectedStep(int o)
{
    if (o <= 2)
        return -4;
    if (o <= 14)
        return -3;
    if (o <= 26)
        return -2;
    if (o <= 38)
        return -1;
    if (o <= 61)
        return 0;
    if (o <= 73)
        return 1;
    if (o <= 85)
        return 2;
    if (o <= 97)
        return 3;
    return 4;
}

} // namespace

class PaddleTest : public GameTest {
protected:
    // A falling ball whose centre is o pixels right of the paddle's left end.
    void landAt(int mausx, int o)
    {
        f->mausx = mausx;
        f->ballx = mausx + o - board::kBallHalf;
        f->s = 3;
        f->w = 7;
        notes->events.clear();
    }
};

TEST_F(PaddleTest, LandingOffsetSetsTheSidewaysStepAndSendsTheBallUp)
{
    for (int mausx : { 0, 237, 500 }) {
        for (int o = 1; o <= 99; ++o) {
            landAt(mausx, o);
            f->auswertung_maus();
            EXPECT_EQ(f->s, board::kStepFromPaddle) << "mausx " << mausx << " o " << o;
            EXPECT_EQ(f->w, expectedStep(o)) << "mausx " << mausx << " o " << o;
            EXPECT_EQ(f->w, -expectedStep(100 - o)) << "o " << o << " mirrors " << 100 - o;
        }
    }
}

TEST_F(PaddleTest, BallOnOrBeyondThePaddlesEndsFallsOn)
{
    for (int o : { -40, -1, 0, 100, 101, 140 }) {
        landAt(200, o);
        f->auswertung_maus();
        EXPECT_EQ(f->s, 3) << "o " << o;
        EXPECT_EQ(f->w, 7) << "o " << o;
        EXPECT_TRUE(notes->events.empty()) << "o " << o;
    }
}

TEST_F(PaddleTest, BounceSoundStartsTheNoteWithoutEndingIt)
{
    landAt(200, 50);
    f->auswertung_maus();
    const std::vector<Note> expected = { { Kind::Program, board::kBounceInstrument - 1, 0 },
        { Kind::On, board::kPaddleNote, board::kLoud } };
    EXPECT_EQ(notes->events, expected);
}

TEST_F(PaddleTest, RangeTestIsInclusiveAndWithSwappedBoundsMatchesOnlyTheUpper)
{
    for (int v = -2; v <= 40; ++v) {
        EXPECT_EQ(f->vonbis(v, 5, 35), v >= 5 && v <= 35) << v;
        EXPECT_EQ(f->vonbis(v, 7, 7), v == 7) << v;
        EXPECT_EQ(f->vonbis(v, 10, 5), v == 5) << v;
    }
}

TEST_F(PaddleTest, RangeTestIsExactOverTheWholeInt32Range)
{
    constexpr auto lo = std::numeric_limits<std::int32_t>::min();
    constexpr auto hi = std::numeric_limits<std::int32_t>::max();
    EXPECT_TRUE(f->vonbis(hi, lo, hi));
    EXPECT_TRUE(f->vonbis(lo, lo, hi));
    EXPECT_FALSE(f->vonbis(hi, lo, hi - 1));
    EXPECT_FALSE(f->vonbis(lo, lo + 1, hi));
    // One past 2^24: a single-precision comparison would call it inside.
    EXPECT_FALSE(f->vonbis((1 << 24) + 1, 0, 1 << 24));
}
