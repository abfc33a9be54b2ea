// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Drawing the figures on the board. The stones steine lays the screen's
// reference frames pin, with the new set's obstacle in the score's test and
// every stone after every new game in the fuzz's rules.
#include "game/game_fixture.h"

namespace {

using DrawingTest = GameTest;

// zeigen wipes the ball and the paddle, and erasing the ball over a stone
// brings the stone back. That the figures are see-through where their
// pictures are white the screen's in-play frame pins.
TEST_F(DrawingTest, ZeigenWipesTheFiguresAndErasingTheBallOverAStoneRestoresIt)
{
    f->steine();
    f->ballx = 300;
    f->bally = 400;
    f->ballhin();
    f->maushin();
    EXPECT_NE(feld().pixel(315, 415), f->p->pixel(315, 415)); // the disc itself
    f->zeigen();
    EXPECT_TRUE(feldShowsBoard(300, 400, 30, 30));
    EXPECT_TRUE(feldShowsBoard(200, 655, 100, 25));
    // Erasing the ball over a stone restores the stone.
    f->ballx = 100; // across the red stones 0 and 1 and the gap between
    f->bally = 20;
    f->ballhin();
    ASSERT_FALSE(feldShowsBoard(100, 20, 30, 30));
    EXPECT_EQ(feld().pixel(115, 35), f->ball->pixel(15, 15));
    f->ballweg();
    EXPECT_TRUE(feldShowsBoard(100, 20, 30, 30));
}

} // namespace
