// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game's pictures, one function each, named after the accessors that
// load them. Every picture comes out the same on every run.
//
// Sizes are in the game's pixels; `scale` device pixels stand for each of
// them (1, or 2 for a screen of twice the density). At scale 2 a picture is
// the same drawing sampled twice as finely, not its scale-1 pixels doubled.
#pragma once

#include <QImage>

namespace art {

[[nodiscard]] QImage drawHintergrund2(int scale); // 900 x 730, the window's wood
[[nodiscard]] QImage drawHintergrund(int scale); // 600 x 690, the board

// On pure white, which the game leaves out when it draws them.
[[nodiscard]] QImage drawBall2(int scale); // 30 x 30
[[nodiscard]] QImage drawMaus2(int scale); // 100 x 25, the paddle
[[nodiscard]] QImage drawHinternis(int scale); // 100 x 25, the obstacle

// 100 x 30 stones; the game frames them with a one-pixel line of its own.
[[nodiscard]] QImage drawB1(int scale); // blue
[[nodiscard]] QImage drawE1(int scale); // yellow
[[nodiscard]] QImage drawG1(int scale); // green
[[nodiscard]] QImage drawL1(int scale); // purple
[[nodiscard]] QImage drawR1(int scale); // red

// The buttons' greyscale shading: black lets the button's colour show,
// white turns it white.
[[nodiscard]] QImage drawM1(int scale);

// The pointer over the board: nothing visible.
[[nodiscard]] QImage drawLeerCursor();

// The application's icon, size x size with a see-through background: a
// small board in its wooden frame with two rows of stones, the ball and the
// paddle, drawn from the pictures above.
[[nodiscard]] QImage drawIcon(int size);
// The same icon as SVG text, for desktops that scale it freely.
[[nodiscard]] QByteArray iconSvg();

} // namespace art
