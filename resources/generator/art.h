// The game's pictures, one function each, named after the accessors that
// load them. Every picture comes out the same on every run.
#pragma once

#include <QImage>

namespace art {

[[nodiscard]] QImage drawHintergrund2(); // 900 x 730, the window's wood
[[nodiscard]] QImage drawHintergrund(); // 600 x 690, the board

// On pure white, which the game leaves out when it draws them.
[[nodiscard]] QImage drawBall2(); // 30 x 30
[[nodiscard]] QImage drawMaus2(); // 100 x 25, the paddle
[[nodiscard]] QImage drawHinternis(); // 100 x 25, the obstacle

// 100 x 30 stones; the game frames them with a one-pixel line of its own.
[[nodiscard]] QImage drawB1(); // blue
[[nodiscard]] QImage drawE1(); // yellow
[[nodiscard]] QImage drawG1(); // green
[[nodiscard]] QImage drawL1(); // purple
[[nodiscard]] QImage drawR1(); // red

// The buttons' greyscale shading: black lets the button's colour show,
// white turns it white.
[[nodiscard]] QImage drawM1();

// The pointer over the board: nothing visible.
[[nodiscard]] QImage drawLeerCursor();

} // namespace art
