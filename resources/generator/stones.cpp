// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The five stones: glossy bevelled tiles, 100 x 30. The game draws a
// one-pixel brown frame over each stone's outermost pixels, so the bevel
// starts one pixel in.
#include "art.h"
#include "shading.h"

#include <cmath>

namespace art {

namespace {

constexpr int kWidth = 100;
constexpr int kHeight = 30;
constexpr RoundedBox kFace { 1, 1, kWidth - 1, kHeight - 1, 2 };
constexpr double kBevel = 4.5;

Rgb stoneShade(Rgb colour, double x, double y)
{
    if (kFace.distance(x, y) > 0) {
        return scale(colour, 0.45); // under the game's frame
    }
    Material glaze { colour, 0.6, 24 };
    // Deeper toward the bottom, as if lit from above.
    glaze.base = scale(colour, 1.08 - 0.28 * smoothstep(4, 28, y));
    Rgb shaded = lit(glaze, bevelNormal(kFace, kBevel, x, y));
    // The gloss: a pale sheen over the upper half of the face that ends in a
    // crisp line, and a faint reflected glow along the bottom.
    const bool onFace = -kFace.distance(x, y) > kBevel - 0.5;
    if (onFace) {
        const double upper = 1 - smoothstep(13.0, 14.5, y);
        const double fade = 0.42 - 0.26 * smoothstep(5, 13.5, y);
        shaded = mix(shaded, rgb(0xFFFFFF), upper * fade);
        shaded = mix(shaded, scale(colour, 1.35), 0.3 * smoothstep(20, 25, y));
    }
    return shaded;
}

QImage stone(std::uint32_t hex, int scale)
{
    return paintOpaque(
        kWidth, kHeight, [colour = rgb(hex)](double x, double y) { return stoneShade(colour, x, y); }, scale);
}

} // namespace

QImage drawB1(int scale)
{
    return stone(0x2A62D0, scale);
}
QImage drawE1(int scale)
{
    return stone(0xF0B81C, scale);
}
QImage drawG1(int scale)
{
    return stone(0x2E9E3A, scale);
}
QImage drawL1(int scale)
{
    return stone(0x8A3CB8, scale);
}
QImage drawR1(int scale)
{
    return stone(0xD42A22, scale);
}

} // namespace art
