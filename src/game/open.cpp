// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Open: the window makes its board pictures, the stones, the ball and the
// paddle, and sets the state of no game yet.
#include "game/board.h"
#include "game/fenster1.h"
#include "resources/resources.h"

namespace {

constexpr int kDepth = 32;

// A stone picture: the resource stone with a one-pixel dark-brown frame.
[[nodiscard]] std::unique_ptr<platform::Picture> framedStone(const platform::Picture& quelle)
{
    auto stein = platform::Picture::NewPicture(board::kStoneWidth, board::kStoneHeight, kDepth);
    auto& g = stein->graphics();
    g.drawPicture(quelle, 0, 0);
    g.setForeColor(board::kStoneFrame);
    g.drawRect(0, 0, board::kStoneWidth, board::kStoneHeight);
    return stein;
}

// A see-through copy of a resource figure (the ball, the paddle).
[[nodiscard]] std::unique_ptr<platform::Picture> figure(
    const platform::Picture& quelle, int width, int height)
{
    auto bild = platform::Picture::NewPicture(width, height, kDepth);
    bild->graphics().drawPicture(quelle, 0, 0);
    bild->setTransparent(1);
    return bild;
}

} // namespace

void Fenster1::Event_Open()
{
    // 1-2. The board picture and the clean background, both of feld's size.
    p = platform::Picture::NewPicture(feld().width(), feld().height(), kDepth);
    p->graphics().drawPicture(need(resources::hintergrund()), 0, 0);
    p1 = platform::Picture::NewPicture(feld().width(), feld().height(), kDepth);
    p1->graphics().drawPicture(need(resources::hintergrund()), 0, 0);

    // 3. The framed stone pictures.
    rt1 = framedStone(need(resources::r1()));
    gn1 = framedStone(need(resources::g1()));
    bl1 = framedStone(need(resources::b1()));
    ge1 = framedStone(need(resources::e1()));
    li1 = framedStone(need(resources::l1()));

    // 4. The paddle stands 75 pixels above the window's bottom.
    mausx = board::kMausStart;
    mausy = Height() - board::kMausAboveBottom;

    // 5-7. No game yet.
    ballzahl = 0;
    start = 0;
    Timer1().setEnabled(false);
    s = board::kStepAfterOpen;
    w = 0;

    // 8-9. The moving figures.
    ball = figure(need(resources::ball2()), board::kBallSize, board::kBallSize);
    maus = figure(need(resources::maus2()), board::kMausWidth, board::kMausHeight);

    // 10.
    z = 0;
    level = 0;
}
