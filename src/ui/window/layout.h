// The window's own measures and colours.
#pragma once

#include "platform/globals.h"

namespace layout {

inline constexpr int kWindowWidth = 900; // pixels; the window cannot be resized
inline constexpr int kWindowHeight = 730;
inline constexpr int kTitleGap = 10; // spaces between the name and the year
// Not painted (the backdrop covers the window); the buttons shade from it.
inline constexpr platform::Color kBackColor = 0xFFCC99;

} // namespace layout
