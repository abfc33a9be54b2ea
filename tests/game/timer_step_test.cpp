// One tick of the timer: the paddle, the edges, a lost ball, the evaluations
// in their order, and the drawing.
#include "game/board.h"
#include "game_fixture.h"
#include "platform/canvas.h"
#include "platform/picture.h"
#include "platform/timer.h"

#include <vector>

class TimerStepTest : public GameTest {
protected:
    // A game in play: stones laid, the paddle at 250, the ball launched.
    void SetUp() override
    {
        GameTest::SetUp();
        f->neu_Action();
        pointerOverBoardX(300);
        f->feld_MouseMove(300, 600);
        f->feld_MouseDown(300, 600);
        notes->events.clear();
    }
    void ball(int x, int y, int w, int s)
    {
        f->ballx = x;
        f->bally = y;
        f->w = w;
        f->s = s;
    }
    [[nodiscard]] platform::Canvas& noch(int i) const { return f->control<platform::Canvas>("noch", i); }
    [[nodiscard]] std::vector<bool> indicators() const
    {
        return { noch(0).visible(), noch(1).visible(), noch(2).visible(), noch(3).visible() };
    }
    [[nodiscard]] static std::vector<Note> sounds(std::initializer_list<int> noteList)
    {
        std::vector<Note> all;
        for (const int note : noteList) {
            const auto one = sound(note, board::kBounceInstrument);
            all.insert(all.end(), one.begin(), one.end());
        }
        return all;
    }
};

TEST_F(TimerStepTest, TopLeftCornerTurnsBothWaysWithTwoSounds)
{
    f->rt[0] = 0; // nothing to strike up there
    ball(2, 3, -3, -7);
    f->Timer1_Action();
    EXPECT_EQ(f->s, 2) << "down at 2, whatever the speed was";
    EXPECT_EQ(f->w, 3);
    EXPECT_EQ(f->ballx, 5);
    EXPECT_EQ(f->bally, 5);
    EXPECT_EQ(notes->events, sounds({ board::kEdgeNote, board::kEdgeNote }));
}

TEST_F(TimerStepTest, SideEdgesTurnOnlyBeyondTheLimits)
{
    const struct {
        int x;
        int w;
        int turned;
    } cases[] = { { 567, 3, 3 }, { 568, 3, -3 }, { 3, -3, -3 }, { 2, -3, 3 }, { 572, 2, -2 } };
    for (const auto& c : cases) {
        notes->events.clear();
        ball(c.x, 300, c.w, -2);
        f->Timer1_Action();
        EXPECT_EQ(f->w, c.turned) << "x " << c.x << " w " << c.w;
        EXPECT_EQ(f->ballx, c.x + c.turned) << "x " << c.x << " w " << c.w;
        EXPECT_EQ(notes->events.size(), c.turned == c.w ? 0U : 3U) << "x " << c.x << " w " << c.w;
    }
}

TEST_F(TimerStepTest, LostBallWithBallsLeftWaitsForTheNextLaunch)
{
    for (int verloren = 1; verloren <= 3; ++verloren) {
        f->start = 2;
        timer().setEnabled(true);
        notes->events.clear();
        ball(40, 630, 3, 11);
        f->Timer1_Action();
        EXPECT_EQ(f->ballzahl, verloren);
        EXPECT_FALSE(noch(verloren).visible()) << verloren;
        for (int i = verloren + 1; i < 4; ++i) {
            EXPECT_TRUE(noch(i).visible()) << verloren << ": noch(" << i << ")";
        }
        EXPECT_EQ(f->start, 1);
        EXPECT_FALSE(timer().enabled());
        EXPECT_EQ(f->w, 0);
        EXPECT_EQ(f->s, board::kStepAfterLoss);
        EXPECT_EQ(f->bally, 626) << "the tick still moves the ball";
        EXPECT_EQ(notes->events, sounds({ board::kLossNote }));
    }
}

TEST_F(TimerStepTest, LossIsTestedBeforeThePaddle)
{
    // At level 4 the ball falls 6 a tick: from 635 it is both over the paddle
    // (250..350) and past the loss line.
    pointerOverBoardX(300);
    f->level = 4;
    ball(285, 635, 2, 6);
    f->Timer1_Action();
    EXPECT_EQ(f->ballzahl, 1);
    EXPECT_EQ(f->s, board::kStepAfterLoss) << "with balls left the new step skips the paddle";
    EXPECT_EQ(notes->events, sounds({ board::kLossNote }));

    // The fourth ball ends the game but keeps falling, so the paddle sends it up.
    notes->events.clear();
    f->level = 4;
    f->ballzahl = 3;
    const auto before = indicators();
    ball(285, 635, 2, 6);
    f->Timer1_Action();
    EXPECT_EQ(f->ballzahl, 4);
    EXPECT_EQ(f->start, 3);
    EXPECT_FALSE(timer().enabled());
    EXPECT_EQ(f->level, 0);
    EXPECT_EQ(indicators(), before);
    EXPECT_EQ(f->s, board::kStepFromPaddle);
    EXPECT_EQ(f->w, 0);
    auto expected = sounds({ board::kLossNote });
    expected.push_back({ Kind::Program, board::kBounceInstrument - 1, 0 });
    expected.push_back({ Kind::On, board::kPaddleNote, board::kLoud });
    EXPECT_EQ(notes->events, expected);
}

TEST_F(TimerStepTest, SpaceBarAfterTheGameCountsEveryTickAsALostBall)
{
    f->ballzahl = 4;
    f->start = 3;
    timer().setEnabled(false);
    f->feld_MouseExit(); // phase 3: all four indicators shown again
    const auto before = indicators();
    f->qq = 0;
    f->Event_KeyDown(" ");
    ball(100, 700, 0, 2);
    for (int n = 5; n <= 7; ++n) {
        notes->events.clear();
        f->Timer1_Action();
        EXPECT_EQ(f->ballzahl, n);
        EXPECT_EQ(f->start, 3);
        EXPECT_TRUE(timer().enabled());
        EXPECT_EQ(notes->events, sounds({ board::kLossNote }));
    }
    EXPECT_EQ(indicators(), before);
    EXPECT_EQ(f->bally, 706);
}

TEST_F(TimerStepTest, PaddleFollowsThePointerClampedAnywhereOnTheScreen)
{
    const struct {
        int screenX;
        int mausx;
    } cases[] = {
        { f->Left() + 20 + 300, 250 },
        { f->Left() + 20 + 50, 0 },
        { f->Left() + 20 + 49, 0 },
        { f->Left() + 20 + 550, 500 },
        { f->Left() + 20 + 551, 500 },
        { f->Left() - 5000, 0 },
        { f->Left() + 5000, 500 },
        { -100000, 0 },
    };
    for (const auto& c : cases) {
        ball(100, 300, 0, -2);
        pointerAtScreenX(c.screenX);
        f->Timer1_Action();
        EXPECT_EQ(f->mausx, c.mausx) << "screen x " << c.screenX;
    }
}

TEST_F(TimerStepTest, FiguresAreErasedAndDrawnAtTheirNewPlaces)
{
    pointerOverBoardX(100); // paddle from 250 to 50
    ball(300, 300, 4, -5);
    f->Timer1_Action();
    const int y = f->mausy;
    // The paddle's and the ball's middles show the pictures, their old places the board.
    EXPECT_EQ(feld().pixel(50 + 50, y + 12), f->maus->pixel(50, 12));
    EXPECT_EQ(feld().pixel(250 + 50, y + 12), f->p->pixel(250 + 50, y + 12));
    EXPECT_EQ(feld().pixel(304 + 15, 295 + 15), f->ball->pixel(15, 15));
    EXPECT_EQ(feld().pixel(300 + 2, 300 + 28), f->p->pixel(300 + 2, 300 + 28));
}

TEST_F(TimerStepTest, EvaluatesWhereTheBallStandsBeforeItMoves)
{
    // 176 is below the stone rows: no evaluation, although the ball moves to 171.
    ball(35, 176, 0, -5);
    f->Timer1_Action();
    EXPECT_EQ(f->z, 0);
    EXPECT_EQ(f->bally, 171);
    f->Timer1_Action(); // now in the purple band
    EXPECT_EQ(f->li[0], 0);
    EXPECT_EQ(f->z, 1);
    EXPECT_EQ(f->s, 2);
}

TEST_F(TimerStepTest, ObstacleIsLookedAtOnlyStrictlyInsideItsBand)
{
    f->level = 1;
    for (const int y : { 400, 401, 424, 425 }) {
        ball(285, y, 0, -3);
        f->Timer1_Action();
        const bool inside = y > 400 && y < 425;
        EXPECT_EQ(f->s, inside ? 2 : -3) << "bally " << y;
    }
}

TEST_F(TimerStepTest, PaddleContactBandIsInclusive)
{
    pointerOverBoardX(300); // paddle 250..350
    for (const int y : { 624, 625, 635, 636 }) {
        ball(285, y, 0, 3);
        f->Timer1_Action();
        const bool contact = y >= 625 && y <= 635;
        EXPECT_EQ(f->s, contact ? board::kStepFromPaddle : 3) << "bally " << y;
    }
    // Rising through the band touches nothing.
    ball(285, 630, 0, -4);
    f->Timer1_Action();
    EXPECT_EQ(f->s, -4);
}
