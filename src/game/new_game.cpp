// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A new game, the space bar's pause, the window's paint and quitting.
#include "game/board.h"
#include "game/fenster1.h"
#include "platform/globals.h"

namespace {

constexpr int kWindowTop = 20; // screen pixels: the window stays near the top

} // namespace

void Fenster1::neu_Action()
{
    steine();
    ballzahl = 0;
    w = 0;
    s = board::kStepNewGame;
    z = 0;
    Zahler(0);
    noch(ballzahl).setVisible(false);
    start = 1;
    Timer1().setEnabled(false);
}

// The toggle looks at qq alone, not at the phase or at the timer.
bool Fenster1::Event_KeyDown(const std::string& key)
{
    if (key == " " && qq == 1) {
        Timer1().setEnabled(false);
        qq = 0;
    } else if (key == " " && qq == 0) {
        Timer1().setEnabled(true);
        qq = 1;
    }
    return false; // no key is consumed
}

// Puts the window back at the top of the screen. Moving it only when it is
// elsewhere keeps the move from raising the next paint, and so on forever.
void Fenster1::Event_Paint(platform::Graphics& /*g*/)
{
    if (Top() != kWindowTop) {
        setTop(kWindowTop);
    }
}

void Fenster1::Knopf1_Action()
{
    platform::Quit(0);
}

void Fenster1::Event_Close()
{
    platform::Quit(0);
}
