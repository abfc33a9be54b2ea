// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The board in two layers: the board picture p (background, stones,
// obstacle) is feld's backdrop; the ball and the paddle are drawn straight
// onto feld and erased by copying their rectangle back from p.
#include "game/board.h"
#include "game/fenster1.h"
#include "resources/resources.h"

#include <cstddef>

namespace {

[[nodiscard]] constexpr std::size_t row(board::Row r)
{
    return static_cast<std::size_t>(r);
}

// Left x of stone i of a row.
[[nodiscard]] constexpr std::int32_t stoneX(board::Row r, std::int32_t i)
{
    return board::kRowFirstX.at(row(r)) + board::kStonePitch * i;
}

[[nodiscard]] constexpr std::int32_t rowY(board::Row r)
{
    return board::kRowY.at(row(r));
}

} // namespace

void Fenster1::steine()
{
    auto& g = need(p).graphics();

    // 1. The background covers every stone and the obstacle drawn before.
    g.drawPicture(need(resources::hintergrund()), 0, 0);

    // 2. All 25 stones stand; element 5 stays as it is.
    for (Int32 i = 0; i < board::kStonesPerRow; ++i) {
        rt[i] = stoneX(board::Row::Rot, i);
        bl[i] = stoneX(board::Row::Blau, i);
        li[i] = stoneX(board::Row::Lila, i);
        gn[i] = stoneX(board::Row::Gruen, i);
        ge[i] = stoneX(board::Row::Gelb, i);
    }

    // 3. Column by column, top row first.
    for (Int32 i = 0; i < board::kStonesPerRow; ++i) {
        if (rt[i] >= 1) {
            g.drawPicture(need(rt1), rt[i], rowY(board::Row::Rot));
        }
        if (gn[i] >= 1) {
            g.drawPicture(need(gn1), gn[i], rowY(board::Row::Gruen));
        }
        if (bl[i] >= 1) {
            g.drawPicture(need(bl1), bl[i], rowY(board::Row::Blau));
        }
        if (ge[i] >= 1) {
            g.drawPicture(need(ge1), ge[i], rowY(board::Row::Gelb));
        }
        if (li[i] >= 1) {
            g.drawPicture(need(li1), li[i], rowY(board::Row::Lila));
        }
    }

    // 4. The obstacle stands from the second set on.
    if (level > 0) {
        g.drawPicture(need(resources::hinternis()), board::kObstacleX, board::kObstacleY);
    }

    // 5.
    zeigen();
}

void Fenster1::zeigen()
{
    feld().setBackdrop(p);
}

void Fenster1::ballweg()
{
    feld().graphics().drawPicture(need(p), ballx, bally, board::kBallSize, board::kBallSize, ballx, bally,
        board::kBallSize, board::kBallSize);
}

void Fenster1::ballhin()
{
    feld().graphics().drawPicture(need(ball), ballx, bally);
}

void Fenster1::mausweg()
{
    feld().graphics().drawPicture(need(p), mausx, mausy, board::kMausWidth, board::kMausHeight, mausx, mausy,
        board::kMausWidth, board::kMausHeight);
}

void Fenster1::maushin()
{
    feld().graphics().drawPicture(need(maus), mausx, mausy);
}

// All five samples get the same frame as the stones on the board.
void Fenster1::st_Paint(platform::Graphics& g)
{
    g.setForeColor(board::kStoneFrame);
    g.drawRect(0, 0, board::kStoneWidth, board::kStoneHeight);
}
