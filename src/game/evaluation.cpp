// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The evaluation: the ball against the stones and the obstacle.
#include "game/board.h"
#include "game/fenster1.h"

#include <array>

namespace {

constexpr int kRows = 5;

[[nodiscard]] constexpr std::int32_t rowY(int row)
{
    return board::kRowY[static_cast<std::size_t>(row)];
}
[[nodiscard]] constexpr std::int32_t rowPoints(int row)
{
    return board::kRowPoints[static_cast<std::size_t>(row)];
}

} // namespace

void Fenster1::auswertung()
{
    const Int32 m = ballx + board::kBallHalf; // the ball's centre column
    // Indexed as board::Row: red at the top, purple at the bottom.
    const std::array<Row*, kRows> reihen = { &rt, &gn, &bl, &ge, &li };

    // Rising: the ball's top edge against each row, bottom row first, then the obstacle.
    if (s < 0) {
        for (int r = kRows - 1; r >= 0; --r) {
            if (vonbis(bally, rowY(r), rowY(r) + board::kStoneHeight)) {
                treffer(*reihen[r], rowY(r), rowPoints(r), m, true);
            }
        }
        if (level > 0 && vonbis(bally, board::kObstacleTop, board::kObstacleBottom) && m >= board::kObstacleX
            && m <= board::kObstacleX + board::kObstacleSpan) {
            s = board::kStepFromObstacle;
            klang(board::kEdgeNote, board::kBounceInstrument);
        }
    }

    // Falling, also when the upward pass just turned it: the bottom edge
    // against each row.
    if (s > 0) {
        for (int r = kRows - 1; r >= 0; --r) {
            if (vonbis(bally + board::kBallSize, rowY(r), rowY(r) + board::kStoneHeight)) {
                treffer(*reihen[r], rowY(r), rowPoints(r), m, false);
            }
        }
    }
}

void Fenster1::treffer(Row& reihe, Int32 y, Int32 punkte, Int32 m, bool aufwaerts)
{
    // Every stone whose span holds m falls; the loop goes on after a strike.
    for (int i = 0; i < board::kStonesPerRow; ++i) {
        const Int32 x = reihe[static_cast<std::size_t>(i)];
        if (!(x <= m && m <= x + board::kStoneWidth && x > 0)) {
            continue;
        }
        p->graphics().drawPicture(*p1, x, y, board::kStoneWidth, board::kStoneHeight, x, y,
            board::kStoneWidth, board::kStoneHeight);
        feld().refreshRect(x, y, board::kStoneWidth, board::kStoneHeight, true);
        reihe[static_cast<std::size_t>(i)] = 0;
        z = z + punkte;
        Zahler(z);
        // After Zahler: a strike that cleared the set sends the ball off at
        // the new level's speed.
        s = aufwaerts ? board::kStepDownFromStone + level : board::kStepUpFromStone;
    }
}
