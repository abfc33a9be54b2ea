// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window's own measures and colours.
#pragma once

#include "platform/globals.h"

namespace layout {

inline constexpr int kWindowWidth = 900; // pixels; the window cannot be resized
inline constexpr int kWindowHeight = 730;
inline constexpr int kTitleGap = 10; // spaces between the name and the year
// Not painted (the backdrop covers the window); the buttons shade from it.
inline constexpr platform::Color kBackColor = 0xFFCC99;

// A control's place in window coordinates.
struct Bounds {
    int left;
    int top;
    int width;
    int height;
};

// What a player reaches, also for whoever drives the window from outside.
inline constexpr Bounds kBoard = { 20, 20, 600, 690 }; // feld
inline constexpr Bounds kNeu = { 761, 656, 100, 40 };
inline constexpr Bounds kQuit = { 868, 7, 20, 20 }; // Knopf1, the "X"

} // namespace layout
