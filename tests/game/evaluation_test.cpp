// The evaluation: stones struck by a rising or falling ball, and the obstacle.
#include "game/board.h"
#include "game_fixture.h"
#include "platform/picture.h"
#include "platform/timer.h"
#include "ui/knopf/knopf.h"

#include <array>

class EvaluationTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        f->neu_Action();
        notes->events.clear();
    }
    [[nodiscard]] Fenster1::Row& row(int r) const
    {
        const std::array<Fenster1::Row*, 5> rows = { &f->rt, &f->gn, &f->bl, &f->ge, &f->li };
        return *rows[static_cast<std::size_t>(r)];
    }
    [[nodiscard]] int standing() const
    {
        int n = 0;
        for (int r = 0; r < 5; ++r) {
            for (int i = 0; i < 5; ++i) {
                n += row(r)[static_cast<std::size_t>(i)] > 0 ? 1 : 0;
            }
        }
        return n;
    }
    // The ball with its centre column at m and its top edge at y, moving by step.
    void ballAt(int m, int y, int step)
    {
        f->ballx = m - board::kBallHalf;
        f->bally = y;
        f->s = step;
    }
    [[nodiscard]] static std::vector<Note> scoreSounds(int n)
    {
        std::vector<Note> all;
        for (int i = 0; i < n; ++i) {
            const auto one = sound(board::kScoreNote, board::kScoreInstrument);
            all.insert(all.end(), one.begin(), one.end());
        }
        return all;
    }
};

TEST_F(EvaluationTest, EachRowScoresItsOwnPointsAndTurnsTheBall)
{
    for (int r = 0; r < 5; ++r) {
        const int y = board::kRowY[static_cast<std::size_t>(r)];
        const int m = board::kRowFirstX[static_cast<std::size_t>(r)] + 50; // only this row's stone 0
        for (const int step : { -3, 3 }) {
            f->neu_Action();
            f->level = 2;
            notes->events.clear();
            // Rising: top edge on the row's top; falling: bottom edge on it.
            ballAt(m, step < 0 ? y : y - board::kBallSize, step);
            f->auswertung();
            EXPECT_EQ(row(r)[0], 0) << "row " << r << " step " << step;
            EXPECT_EQ(f->z, board::kRowPoints[static_cast<std::size_t>(r)]) << "row " << r;
            EXPECT_EQ(standing(), 24) << "row " << r << " step " << step;
            EXPECT_EQ(f->s, step < 0 ? 2 + 2 : -2) << "row " << r << " step " << step;
            EXPECT_EQ(notes->events, scoreSounds(1)) << "row " << r;
        }
    }
}

TEST_F(EvaluationTest, BandsAreInclusiveAndTheGapsStrikeNothing)
{
    // Only the yellow row stands (band 110..140); m = 112 lies in its stone 0.
    const struct {
        int bally;
        int step;
        bool strikes;
    } cases[] = {
        { 109, -3, false },
        { 110, -3, true },
        { 140, -3, true },
        { 141, -3, false },
        { 144, -3, false },
        { 79, 3, false },
        { 80, 3, true },
        { 110, 3, true },
        { 111, 3, false },
    };
    for (const auto& c : cases) {
        f->neu_Action();
        f->rt = f->gn = f->bl = f->li = {};
        ballAt(112, c.bally, c.step);
        f->auswertung();
        EXPECT_EQ(f->z, c.strikes ? 5 : 0) << "bally " << c.bally << " s " << c.step;
        EXPECT_EQ(f->ge[0], c.strikes ? 0 : 61) << "bally " << c.bally << " s " << c.step;
    }
}

TEST_F(EvaluationTest, StoneSpanIsInclusiveAndGoneStonesNeverStrike)
{
    // Purple stone 2 spans 223..323.
    for (const int m : { 222, 223, 323, 324 }) {
        f->neu_Action();
        ballAt(m, 150, -2);
        f->auswertung();
        const bool inside = m >= 223 && m <= 323;
        EXPECT_EQ(f->li[2], inside ? 0 : 223) << "m " << m;
        EXPECT_EQ(f->z, inside ? 1 : 0) << "m " << m;
        EXPECT_EQ(f->s, inside ? 2 : -2) << "m " << m;
    }
    // An element of 0 spans 0..100, but no stone stands there.
    for (const int m : { 0, 50, 100 }) {
        f->neu_Action();
        f->li[0] = 0;
        ballAt(m, 150, -2);
        f->auswertung();
        EXPECT_EQ(f->z, 0) << "m " << m;
        EXPECT_EQ(f->s, -2) << "m " << m;
    }
}

TEST_F(EvaluationTest, BallStandingStillVerticallyChangesNothing)
{
    ballAt(100, 145, 0);
    f->auswertung();
    EXPECT_EQ(standing(), 25);
    EXPECT_EQ(f->s, 0);
    EXPECT_TRUE(notes->events.empty());
}

TEST_F(EvaluationTest, RisingStrikeCanBeFollowedByAFallingStrikeInTheSameCall)
{
    // Top edge in the yellow band, bottom edge on the purple row's top.
    ballAt(100, 115, -3);
    f->auswertung();
    EXPECT_EQ(f->ge[0], 0);
    EXPECT_EQ(f->li[0], 0);
    EXPECT_EQ(f->z, 6);
    EXPECT_EQ(f->s, -2);
    EXPECT_EQ(f->control<Knopf>("zahl", 3).Text, "6");
    EXPECT_EQ(notes->events, scoreSounds(2));

    // On the row's top exactly the falling test meets the same, now empty, place.
    f->neu_Action();
    ballAt(100, 110, -3);
    f->auswertung();
    EXPECT_EQ(f->z, 5);
    EXPECT_EQ(f->s, 2);
}

TEST_F(EvaluationTest, StrikeLoopGoesOnAfterTheFirstStone)
{
    // In a laid set no two stones of a row share a column; a stone moved over
    // its neighbour shows whether the row is searched to its end.
    f->rt[1] = 100; // spans 100..200, red stone 0 spans 9..109
    ballAt(105, 5 - board::kBallSize, 3);
    f->auswertung();
    EXPECT_EQ(f->rt[0], 0);
    EXPECT_EQ(f->rt[1], 0);
    EXPECT_EQ(f->z, 40);
    EXPECT_EQ(notes->events, scoreSounds(2));
}

TEST_F(EvaluationTest, StruckStoneIsRepairedFromTheCleanBackground)
{
    const int x = f->bl[3]; // 330, row top 75
    ballAt(x + 50, 80, -2);
    f->auswertung();
    ASSERT_EQ(f->bl[3], 0);
    for (int dy = 0; dy < board::kStoneHeight; ++dy) {
        for (int dx = 0; dx < board::kStoneWidth; ++dx) {
            ASSERT_EQ(f->p->pixel(x + dx, 75 + dy), f->p1->pixel(x + dx, 75 + dy)) << dx << "," << dy;
            ASSERT_EQ(feld().pixel(x + dx, 75 + dy), f->p1->pixel(x + dx, 75 + dy)) << dx << "," << dy;
        }
    }
    // The neighbours keep their frames.
    EXPECT_EQ(f->p->pixel(x - 107, 75), board::kStoneFrame);
    EXPECT_EQ(f->p->pixel(x + 107, 75), board::kStoneFrame);
    EXPECT_EQ(feld().pixel(x + 107, 75), board::kStoneFrame);
}

TEST_F(EvaluationTest, ObstacleTurnsOnlyARisingBallFromTheSecondSetOn)
{
    const struct {
        std::int32_t level;
        int m;
        int bally;
        int step;
        bool turns;
    } cases[] = {
        { 1, 250, 400, -3, true },
        { 1, 350, 425, -3, true },
        { 1, 300, 412, -7, true },
        { 1, 249, 410, -3, false },
        { 1, 351, 410, -3, false },
        { 1, 300, 399, -3, false },
        { 1, 300, 426, -3, false },
        { 1, 300, 410, 3, false },
        { 0, 300, 410, -3, false },
    };
    for (const auto& c : cases) {
        f->level = c.level;
        notes->events.clear();
        ballAt(c.m, c.bally, c.step);
        f->auswertung();
        EXPECT_EQ(f->s, c.turns ? 2 : c.step) << "m " << c.m << " bally " << c.bally << " s " << c.step;
        EXPECT_EQ(
            notes->events, c.turns ? sound(board::kEdgeNote, board::kBounceInstrument) : std::vector<Note> {})
            << "m " << c.m << " bally " << c.bally << " s " << c.step;
    }
    EXPECT_EQ(standing(), 25);
}

TEST_F(EvaluationTest, StrikeThatClearsTheSetTakesTheNewLevelsStep)
{
    for (const int step : { -3, 3 }) {
        f->neu_Action();
        f->level = 1;
        f->rt = f->gn = f->bl = f->ge = f->li = {};
        f->li[0] = 9; // the last stone
        f->z = 254;
        ballAt(100, step < 0 ? 150 : 145 - board::kBallSize, step);
        f->auswertung();
        EXPECT_EQ(f->level, 2);
        EXPECT_EQ(f->z, 255) << "nothing more is struck after the new set is laid";
        EXPECT_EQ(standing(), 25);
        EXPECT_EQ(f->bally, board::kBallAfterLevel);
        EXPECT_EQ(f->start, 1);
        EXPECT_FALSE(timer().enabled());
        EXPECT_EQ(f->s, step < 0 ? 2 + 2 : -2) << "step " << step;
    }
}
