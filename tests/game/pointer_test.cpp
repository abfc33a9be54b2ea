// The pointer over the board: steering, launching, tidying after a game.
#include "game/game_fixture.h"

namespace {

using PointerTest = GameTest;

TEST_F(PointerTest, WaitingBallRidesCentredOnTheClampedPaddle)
{
    f->neu_Action();
    for (auto [x, mausx] : { std::pair { -30, 0 }, { 50, 0 }, { 51, 1 }, { 300, 250 }, { 549, 499 },
             { 550, 500 }, { 900, 500 } }) {
        f->feld_MouseMove(x, 123);
        EXPECT_EQ(f->mausx, mausx) << "x " << x;
        EXPECT_EQ(f->ballx, mausx + 35) << "x " << x;
        EXPECT_EQ(f->bally, 625);
    }
    // The ball and the paddle are on the board where the state says.
    EXPECT_EQ(feld().pixel(500 + 50, 655 + 12), f->maus->pixel(50, 12));
    EXPECT_EQ(feld().pixel(535 + 15, 625 + 15), f->ball->pixel(15, 15));
    f->feld_MouseMove(300, 0);
    EXPECT_TRUE(feldShowsBoard(500, 655, 100, 25)) << "the old paddle is erased";
    EXPECT_FALSE(feldShowsBoard(250, 655, 100, 25));
}

TEST_F(PointerTest, ClickLaunchesTheWaitingBallOnly)
{
    for (int phase : { 0, 2, 3 }) {
        f->start = phase;
        f->bally = 77;
        EXPECT_FALSE(f->feld_MouseDown(300, 0));
        EXPECT_EQ(f->start, phase);
        EXPECT_EQ(f->bally, 77);
        EXPECT_FALSE(timer().enabled());
    }
    f->neu_Action();
    f->feld_MouseMove(300, 0);
    EXPECT_FALSE(f->feld_MouseDown(300, 0));
    EXPECT_EQ(f->start, 2);
    EXPECT_EQ(f->bally, 600); // lifted from 625
    EXPECT_EQ(f->ballx, 285);
    EXPECT_TRUE(timer().enabled());
    EXPECT_EQ(f->qq, 0);
    EXPECT_TRUE(feldShowsBoard(285, 630, 30, 25)) << "the resting ball's lower part is erased";
}

TEST_F(PointerTest, AfterGameOverMoveErasesTheLostBallAndEveryExitShowsTheIndicators)
{
    f->neu_Action();
    f->start = 3;
    f->ballx = 100;
    f->bally = 650;
    f->ballhin();
    for (int i = 0; i < 4; ++i) {
        noch(i).setVisible(false);
    }
    f->feld_MouseMove(10, 0);
    EXPECT_TRUE(feldShowsBoard(100, 650, 30, 30));
    EXPECT_EQ(f->mausx, 200);
    EXPECT_FALSE(feldShowsBoard(200, 655, 100, 25)) << "the paddle is drawn where it stands";
    for (int exit = 0; exit < 2; ++exit) {
        f->feld_MouseExit();
        EXPECT_EQ(indicators(), std::vector<bool>(4, true)) << "exit " << exit;
        noch(2).setVisible(false);
    }
    f->start = 2; // during a game the indicators stay as they are
    f->feld_MouseExit();
    EXPECT_FALSE(noch(2).visible());
}

} // namespace
