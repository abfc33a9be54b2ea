// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window's own properties. The controls come after, in controls.cpp.
#include "ui/window/layout.h"
#include "game/fenster1.h"
#include "resources/resources.h"

#include <string>

void Fenster1::Layout()
{
    // The backdrop goes first, before the other properties.
    setBackdrop(resources::Hintergrund2());
    setTitle("Zindra" + std::string(layout::kTitleGap, ' ') + "2008");
    setFixedSize(layout::kWindowWidth, layout::kWindowHeight);
    setFrameless(true); // no title bar: Knopf1 is the way out
    setBackColor(layout::kBackColor);
}
