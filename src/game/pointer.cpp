// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The pointer over the board: hidden there, it steers the paddle while the
// ball waits, launches the ball with a click and tidies up after a game.
#include "game/board.h"
#include "game/fenster1.h"
#include "platform/cursor.h"
#include "resources/resources.h"

void Fenster1::feld_MouseEnter()
{
    setMouseCursor(need(resources::leerCursor()));
}

void Fenster1::feld_MouseExit()
{
    setMouseCursor(platform::ArrowCursor());
    if (start == 3) {
        for (Int32 i = 0; i < board::kBalls; ++i) {
            noch(i).setVisible(true);
        }
    }
}

void Fenster1::feld_MouseMove(Int32 x, Int32 /*y*/)
{
    if (start == 1) {
        mausweg();
        // The paddle's middle under the pointer, as far as the board allows.
        mausx = platform::ToInt32(
            platform::Min(board::kMausMax, platform::Max(board::kMausMin, x - board::kMausHalf)));
        ballweg();
        bally = board::kBallResting;
        ballx = mausx + board::kBallOnPaddle;
        ballhin();
    }
    maushin();
    if (start == 3) {
        ballweg(); // the lost ball is still on the board
    }
}

bool Fenster1::feld_MouseDown(Int32 /*x*/, Int32 /*y*/)
{
    if (start == 1) {
        ballweg();
        bally = board::kBallLaunched;
        ballx = mausx + board::kBallOnPaddle;
        ballhin();
        start = 2;
        Timer1().setEnabled(true);
    }
    return false; // the press is not claimed
}
