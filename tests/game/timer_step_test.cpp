// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One tick of the timer: the edges, a lost ball, the evaluations in their
// order and bands, and the drawing.
#include "game_fixture.h"

class TimerStepTest : public GameTest {
protected:
    // A game in play: stones laid, the paddle at 250, the ball launched.
    void SetUp() override
    {
        GameTest::SetUp();
        pointerOverBoardX(300);
        launch();
    }
    void ball(int x, int y, int w, int s)
    {
        f->ballx = x;
        f->bally = y;
        f->w = w;
        f->s = s;
    }
};

// The sides turn the ball only beyond their limits, with the edge sound; the
// top-left corner turns it both ways, with two, and down at 2 whatever the
// speed was.
TEST_F(TimerStepTest, EdgesTurnTheBallOnlyBeyondTheirLimits)
{
    for (const auto& [x, w, turned] :
        { std::tuple { 567, 3, 3 }, { 568, 3, -3 }, { 3, -3, -3 }, { 2, -3, 3 }, { 572, 2, -2 } }) {
        SCOPED_TRACE(testing::Message() << "x " << x << " w " << w);
        notes->events.clear();
        ball(x, 300, w, -2);
        f->Timer1_Action();
        EXPECT_EQ(std::pair(f->w, f->ballx), std::pair(turned, x + turned));
        EXPECT_EQ(notes->events,
            turned == w ? std::vector<Note> {} : sound(board::kEdgeNote, board::kBounceInstrument));
    }
    f->rt[0] = 0; // nothing to strike up there
    notes->events.clear();
    ball(2, 3, -3, -7);
    f->Timer1_Action();
    EXPECT_EQ(std::tuple(f->s, f->w, f->ballx, f->bally), std::tuple(2, 3, 5, 5));
    EXPECT_EQ(notes->events, sound(board::kEdgeNote, board::kBounceInstrument, 2));
}

// At level 4 the ball falls 6 a tick: from 635 it is both over the paddle
// (250..350) and past the loss line. With balls left the new step skips the
// paddle; the fourth ball ends the game but keeps falling, so the paddle
// sends it up.
TEST_F(TimerStepTest, LossIsTestedBeforeThePaddleAndAfterTheGameEveryTickIsALostBall)
{
    f->level = 4;
    for (int verloren = 1; verloren <= 4; ++verloren) {
        SCOPED_TRACE(testing::Message() << verloren << " lost");
        const bool over = verloren == 4;
        f->start = 2;
        timer().setEnabled(true);
        notes->events.clear();
        ball(285, 635, 2, 6);
        f->Timer1_Action();
        EXPECT_EQ(indicators(), (std::vector<bool> { false, verloren < 1, verloren < 2, verloren < 3 }));
        // ballzahl, start, timer, level, w, s
        EXPECT_EQ(std::tuple(f->ballzahl, f->start, timer().enabled(), f->level, f->w, f->s),
            std::tuple(verloren, over ? 3 : 1, false, over ? 0 : 4, 0,
                over ? board::kStepFromPaddle : board::kStepAfterLoss));
        auto expected = sound(board::kLossNote, board::kBounceInstrument);
        if (over) { // the paddle's sound, without ending the last note
            expected.push_back({ Kind::Program, board::kBounceInstrument - 1, 0 });
            expected.push_back({ Kind::On, board::kPaddleNote, board::kLoud });
        }
        EXPECT_EQ(notes->events, expected);
    }

    // After the game the space bar runs the ball on: every tick counts as a
    // lost ball, and the indicators the exit showed again stay.
    f->feld_MouseExit();
    f->Event_KeyDown(" ");
    ball(100, 700, 0, 2);
    for (int n = 5; n <= 7; ++n) {
        notes->events.clear();
        f->Timer1_Action();
        EXPECT_EQ(std::tuple(f->ballzahl, f->start, timer().enabled()), std::tuple(n, 3, true));
        EXPECT_EQ(notes->events, sound(board::kLossNote, board::kBounceInstrument));
    }
    EXPECT_EQ(indicators(), (std::vector<bool> { true, true, true, true }));
    EXPECT_EQ(f->bally, 706);
    f->Event_KeyDown(" "); // and stops it again, in this phase as in any
    EXPECT_FALSE(timer().enabled());
}

// The obstacle is looked at only strictly inside its band, the paddle on its
// band's edges too, and only under a falling ball. The loss line and the
// stone zone end outside: a ball that just reaches the loss line is not lost
// yet, and one whose top stands at the stone zone's end meets no stone,
// although the tick moves it in: a tick evaluates where the ball stood.
TEST_F(TimerStepTest, BandsOfTheTick)
{
    for (const auto& [level, y, s, turned] :
        { std::tuple { 1, 400, -3, -3 }, { 1, 401, -3, 2 }, { 1, 424, -3, 2 }, { 1, 425, -3, -3 },
            { 0, 624, 3, 3 }, { 0, 625, 3, -5 }, { 0, 635, 3, -5 }, { 0, 636, 3, 3 }, { 0, 630, -4, -4 } }) {
        f->level = level;
        ball(285, y, 0, s); // the centre over the obstacle's and the paddle's middle
        f->Timer1_Action();
        EXPECT_EQ(f->s, turned) << "level " << level << " bally " << y << " s " << s;
    }
    ball(285, board::kLossLine - 6, 0, 6);
    f->Timer1_Action();
    EXPECT_EQ(f->ballzahl, 0);
    ball(35, board::kStoneZone, 0, -5);
    f->Timer1_Action();
    EXPECT_EQ(std::tuple(f->li[0], f->z, f->bally), std::tuple(9, 0, board::kStoneZone - 5));
    f->Timer1_Action(); // now in the purple band
    EXPECT_EQ(std::tuple(f->li[0], f->z, f->s), std::tuple(0, 1, 2));
}
