// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Whether the window can be shown at all, asked before Qt is brought up:
// Qt ends the process with an abort when its platform finds no display.
#pragma once

namespace platform {

// True when the platform Qt is going to use has a display: an X server that
// accepts a connection for xcb, a Wayland socket for wayland. Any other
// platform (offscreen, minimal, vnc, ...) is taken at its word. platform and
// display are the values of Qt's -platform and -display options, or null;
// without them the environment (QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY)
// decides, and with no platform chosen either X or Wayland will do.
[[nodiscard]] bool displayReachable(const char* platform, const char* display);

// The X connection the check opened stays open until Qt has its own: an X
// server left with no client resets itself, and Qt connecting during that
// reset would fail. The runtime closes it once Qt is up.
void closeDisplayProbe();

} // namespace platform
