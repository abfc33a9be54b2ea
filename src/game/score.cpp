// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The score counter: four digit buttons, the score sound and the level end.
#include "game/board.h"
#include "game/fenster1.h"
#include "platform/globals.h"
#include "ui/knopf/knopf.h"

#include <array>
#include <cmath>

namespace {

// The set is cleared when the score is a whole number of sets; more than 100
// keeps out the 0 of a new game.
[[nodiscard]] bool setCleared(std::int32_t punkte)
{
    const double saetze = punkte / static_cast<double>(board::kPointsPerSet);
    return saetze == std::floor(saetze) && punkte > 100;
}

} // namespace

void Fenster1::Zahler(Int32 punkte)
{
    // Four digits only: 10000 and more show as 0000.
    if (punkte > board::kMaxShownScore) {
        punkte = 0;
    }

    // Thousands, hundreds, tens, units: the last decimal digit of each.
    const std::array<Int32, 4> d = {
        platform::ToInt32(punkte / 1000.0),
        platform::ToInt32(punkte / 100.0),
        platform::ToInt32(punkte / 10.0),
        punkte,
    };
    for (Int32 k = 0; k < 4; ++k) {
        Knopf& ziffer = zahl(k);
        ziffer.Text = platform::Right(platform::Str(d[static_cast<std::size_t>(k)]), 1);
        ziffer.refresh(true);
    }

    if (setCleared(punkte)) {
        level = level + 1;
        bally = board::kBallAfterLevel;
        steine();
        // After a game over the space bar can still run the ball into the
        // stones; from the fourth lost ball on there is no indicator to hide.
        if (ballzahl >= 0 && ballzahl < board::kBalls) {
            noch(ballzahl).setVisible(false);
        }
        start = 1;
        Timer1().setEnabled(false);
        w = 0;
    }

    if (punkte > 0) {
        klang(board::kScoreNote, board::kScoreInstrument);
    }
}
