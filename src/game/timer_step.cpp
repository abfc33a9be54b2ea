// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The timer step: one tick of the ball and the paddle.
#include "game/board.h"
#include "game/fenster1.h"
#include "platform/globals.h"

void Fenster1::Timer1_Action()
{
    // Erase both figures at their old places.
    ballweg();
    mausweg();

    // The paddle's middle goes under the pointer, wherever on the screen it is.
    const Int32 zeiger = platform::MouseX() - Left() - board::kPointerToMaus;
    mausx = platform::ToInt32(platform::Min(board::kMausMax, platform::Max(board::kMausMin, zeiger)));

    // The top and the sides; the left test sees w as the right one left it.
    if (bally + s < board::kTopEdge) {
        s = board::kStepFromTop;
        klang(board::kEdgeNote, board::kBounceInstrument);
    }
    if (ballx + w > board::kRightEdge) {
        w = -w;
        klang(board::kEdgeNote, board::kBounceInstrument);
    }
    if (ballx + w < board::kLeftEdge) {
        w = -w;
        klang(board::kEdgeNote, board::kBounceInstrument);
    }

    // The loss line. Past the fourth ball (the space bar can run the timer
    // after the game) only the count and the sound go on.
    if (bally + s > board::kLossLine) {
        ballzahl = ballzahl + 1;
        if (ballzahl < board::kBalls) {
            noch(ballzahl).setVisible(false);
            start = 1;
            Timer1().setEnabled(false);
            w = 0;
            s = board::kStepAfterLoss;
        }
        if (ballzahl == board::kBalls) {
            start = 3;
            Timer1().setEnabled(false);
            level = 0;
        }
        klang(board::kLossNote, board::kBounceInstrument);
    }

    // Stones, the obstacle, the paddle, each seeing the step as it now stands.
    if (bally < board::kStoneZone) {
        auswertung();
    }
    if (level > 0 && bally > board::kObstacleTop && bally < board::kObstacleBottom) {
        auswertung();
    }
    if (s > 0 && vonbis(bally + board::kBallSize, board::kPaddleBandTop, board::kPaddleBandBottom)) {
        auswertung_maus();
    }

    // Move, also after a loss or the end of a set: disabling the timer only
    // stops the next tick.
    bally = bally + s;
    ballx = ballx + w;

    // Draw both figures at their new places.
    ballhin();
    maushin();
}

void Fenster1::klang(int note, int instrument)
{
    platform::NotePlayer& spieler = NotePlayer1();
    spieler.PlayNote(note, 0);
    spieler.setInstrument(instrument);
    spieler.PlayNote(note, board::kLoud);
}
