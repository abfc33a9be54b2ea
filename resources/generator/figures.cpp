// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The figures that move over the board or stand on it: the ball, the paddle
// and the obstacle. All three are painted on pure white, which the game
// leaves out; their outlines are smoothed into a dark rim instead.
#include "art.h"
#include "shading.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

// Close to the board's own colour, so a smoothed outline melts into it.
constexpr Rgb kRim = rgb(0x24180F);

// ---- the ball: a polished steel sphere ------------------------------------

constexpr double kBallCentre = 15.0;
constexpr double kBallRadius = 14.7;

constexpr Material kSteelBall { rgb(0xC8C8D0), 0.9, 60 };

// What the polish mirrors in the direction of the reflected view ray: a pale
// sky above, a dark horizon a little below the middle, the brown board under it.
Rgb surroundings(double up)
{
    if (up > -0.1) {
        return mix(rgb(0x8C8A94), rgb(0xF4F2F6), smoothstep(-0.1, 0.8, up));
    }
    return mix(rgb(0x7A5238), rgb(0x4A3C38), smoothstep(-0.8, -0.1, up));
}

Rgb ballShade(double x, double y)
{
    const double nx = (x - kBallCentre) / kBallRadius;
    const double ny = (y - kBallCentre) / kBallRadius;
    const double nz = std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
    // A lit sphere first, so it reads as round from across the board.
    const Rgb sphere = lit(kSteelBall, { nx, ny, nz });
    // The view ray (0, 0, 1) mirrored about the normal.
    const double reflectedUp = -2 * nz * ny;
    Rgb colour = mix(sphere, surroundings(reflectedUp), 0.35);
    // Darker toward the silhouette, which keeps the edge crisp on the board.
    return scale(colour, 0.75 + 0.25 * smoothstep(0.0, 0.6, nz));
}

bool insideBall(double x, double y)
{
    return std::hypot(x - kBallCentre, y - kBallCentre) <= kBallRadius;
}

// ---- the paddle: a glossy copper bar --------------------------------------

constexpr RoundedBox kPaddle { 0, 0, 100, 25, 10 };
constexpr Material kCopper { rgb(0xC46A30), 0.55, 40 };

Rgb paddleShade(double x, double y)
{
    // Lighter on top, where the ball rests, darker underneath.
    Material copper = kCopper;
    copper.base = scale(copper.base, 1.12 - 0.38 * smoothstep(0, 25, y));
    Rgb colour = lit(copper, bevelNormal(kPaddle, 7, x, y));
    // A gloss band along the top, fading out toward the rounded ends.
    const double band = smoothstep(2.5, 4.5, y) * (1 - smoothstep(7.0, 10.0, y));
    const double ends = smoothstep(4, 16, x) * (1 - smoothstep(84, 96, x));
    return mix(colour, rgb(0xFFE2C0), 0.55 * band * ends);
}

// ---- the obstacle: a riveted steel plate -----------------------------------

constexpr RoundedBox kPlate { 0, 0, 100, 25, 4 };
constexpr Material kSteel { rgb(0x7A7670), 0.35, 18 };
constexpr Material kRivetSteel { rgb(0x9C9890), 0.8, 30 };
constexpr double kRivetRadius = 3.2;
constexpr double kRivetY = 12.5;
constexpr double kRivetX[] = { 9.5, 50.0, 90.5 };

Rgb plateShade(double x, double y)
{
    for (const double rivetX : kRivetX) {
        const double dx = (x - rivetX) / kRivetRadius;
        const double dy = (y - kRivetY) / kRivetRadius;
        const double r2 = dx * dx + dy * dy;
        if (r2 <= 1) {
            return lit(kRivetSteel, { dx, dy, std::sqrt(1 - r2) });
        }
    }
    // Brushed along its length.
    Material steel = kSteel;
    steel.base = scale(steel.base, 0.9 + 0.2 * fractalNoise(x * 0.03, y * 1.7, 171, 3));
    Rgb colour = lit(steel, bevelNormal(kPlate, 4, x, y));
    // Each rivet throws a small shadow to the lower right.
    for (const double rivetX : kRivetX) {
        const double d = std::hypot(x - rivetX - 1.2, y - kRivetY - 1.2);
        colour = scale(colour, 1 - 0.45 * (1 - smoothstep(kRivetRadius - 0.5, kRivetRadius + 1.2, d)));
    }
    // Two dark grooves split the plate into three panels.
    for (const double grooveX : { 30.0, 70.0 }) {
        const double d = std::abs(x - grooveX);
        if (d < 1.0 && y > 3.5 && y < 21.5) {
            colour = scale(colour, 0.55);
        } else if (d < 2.0 && x > grooveX && y > 3.5 && y < 21.5) {
            colour = mix(colour, rgb(0xD8D4CC), 0.25); // its lit far wall
        }
    }
    return colour;
}

} // namespace

QImage drawBall2(int scale)
{
    return figureOnWhite(30, 30, insideBall, ballShade, kRim, scale);
}

QImage drawMaus2(int scale)
{
    return figureOnWhite(
        100, 25, [](double x, double y) { return kPaddle.distance(x, y) <= 0; }, paddleShade, kRim, scale);
}

QImage drawHinternis(int scale)
{
    return figureOnWhite(
        100, 25, [](double x, double y) { return kPlate.distance(x, y) <= 0; }, plateShade, kRim, scale);
}

} // namespace art
