// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The paddle: where the ball lands on it sets its sideways step; the pointer
// over the board steers it, launches, and tidies up after a game.
#include "game_fixture.h"

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
using PointerTest = GameTest;

// Strictly inside the paddle the landing offset sets w and sends the ball up
// with the paddle's sound; on or beyond its ends the ball falls on.
TEST_F(PaddleTest, LandingOffsetSetsTheSidewaysStepAndSendsTheBallUp)
{
    const std::vector<Note> bounce = { { Kind::Program, board::kBounceInstrument - 1, 0 },
        { Kind::On, board::kPaddleNote, board::kLoud } };
    for (int mausx : { 0, 237, 500 }) {
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
        }
    }
}

// The waiting ball rides centred on the paddle, which is clamped to the
// board; a click launches it, and only a waiting ball.
TEST_F(PointerTest, WaitingBallRidesCentredOnTheClampedPaddleAndAClickLaunchesOnlyIt)
{
    for (int phase : { 0, 2, 3 }) {
        f->start = phase;
        f->bally = 77;
        EXPECT_FALSE(f->feld_MouseDown(300, 0));
        EXPECT_EQ(std::tuple(f->start, f->bally, timer().enabled()), std::tuple(phase, 77, false));
    }
    f->neu_Action();
    for (auto [x, mausx] : { std::pair { -30, 0 }, { 50, 0 }, { 51, 1 }, { 300, 250 }, { 549, 499 },
             { 550, 500 }, { 900, 500 } }) {
        f->feld_MouseMove(x, 123);
        EXPECT_EQ(std::tuple(f->mausx, f->ballx, f->bally), std::tuple(mausx, mausx + 35, 625)) << "x " << x;
    }
    // The ball and the paddle are on the board where the state says.
    EXPECT_EQ(feld().pixel(500 + 50, 655 + 12), f->maus->pixel(50, 12));
    EXPECT_EQ(feld().pixel(535 + 15, 625 + 15), f->ball->pixel(15, 15));
    f->feld_MouseMove(300, 0);
    EXPECT_TRUE(feldShowsBoard(500, 655, 100, 25)) << "the old paddle is erased";
    EXPECT_FALSE(feldShowsBoard(250, 655, 100, 25));

    EXPECT_FALSE(f->feld_MouseDown(300, 0));
    // start, the ball lifted from 625, timer, qq
    EXPECT_EQ(
        std::tuple(f->start, f->ballx, f->bally, timer().enabled(), f->qq), std::tuple(2, 285, 600, true, 0));
    EXPECT_TRUE(feldShowsBoard(285, 630, 30, 25)) << "the resting ball's lower part is erased";
}

// After a game over a move erases the lost ball. That leaving the board then
// shows the indicators again, and only then, the timer step's test and the
// fuzz's rules hold.
TEST_F(PointerTest, AfterGameOverAMoveErasesTheLostBall)
{
    f->neu_Action();
    f->start = 3;
    f->ballx = 100;
    f->bally = 650;
    f->ballhin();
    f->feld_MouseMove(10, 0);
    EXPECT_TRUE(feldShowsBoard(100, 650, 30, 30));
    EXPECT_EQ(f->mausx, 200);
    EXPECT_FALSE(feldShowsBoard(200, 655, 100, 25)) << "the paddle is drawn where it stands";
}

} // namespace
