// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The paddle bounce and the inclusive range test.
#include "game/board.h"
#include "game/fenster1.h"
#include "platform/globals.h"

bool Fenster1::vonbis(Int32 wert, Int32 von, Int32 bis) const
{
    // In double, as the clamp is written: for von > bis only wert == bis passes.
    const double v = wert;
    return platform::Min(bis, platform::Max(von, v)) == v;
}

void Fenster1::auswertung_maus()
{
    const Int32 m = ballx + board::kBallHalf; // the ball's centre column
    if (!(mausx < m && m < mausx + board::kMausWidth)) {
        return; // past the paddle: the timer step counts the loss
    }
    s = board::kStepFromPaddle;
    // The landing offset from the paddle's middle sets the sideways step:
    // -4..4 pixels per tick, truncated toward zero.
    w = platform::ToInt32((m - mausx - board::kMausHalf) / board::kPaddleSlope);
    // The paddle's sound starts its note without ending the last one.
    platform::NotePlayer& spieler = NotePlayer1();
    spieler.setInstrument(board::kBounceInstrument);
    spieler.PlayNote(board::kPaddleNote, board::kLoud);
}
