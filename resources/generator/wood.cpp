// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The two backgrounds: light planks for the window, a dark calm panel for
// the board so that the ball and the stones stand out on it.
#include "art.h"
#include "shading.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

constexpr std::uint32_t kWindowSeed = 1708;
constexpr std::uint32_t kBoardSeed = 2008;

// How dark the grain is at (x, y) of a board that runs left to right, 0..1.
// Growth rings of uneven width, bent by slow noise into the arches of
// flat-sawn wood; within a ring the wood darkens gradually and ends in a
// thin band of late wood. Fine fibres and broad blotches lie over it all.
double grain(double x, double y, std::uint32_t seed)
{
    const double bend
        = 48 * fractalNoise(x * 0.0016, y * 0.006, seed, 3) + 3 * std::sin(x * 0.011 + double(seed % 97));
    const double rings = (y + bend) / 8.0 + 1.2 * fractalNoise(x * 0.002, y * 0.03, seed + 3, 2);
    const double ring = rings - std::floor(rings);
    const double late = smoothstep(0.6, 0.86, ring) * (1 - smoothstep(0.9, 1.0, ring));
    const double fibre = fractalNoise(x * 0.06, y * 0.9, seed + 7, 3) - 0.5;
    const double blotch = fractalNoise(x * 0.004, y * 0.015, seed + 13, 3) - 0.5;
    return clamp01(0.22 + 0.18 * ring + 0.4 * late + 0.3 * fibre + 0.6 * blotch);
}

// ---- the window: horizontal planks of light wood --------------------------

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 730;
constexpr int kPlanks = 8; // about 91 px each
constexpr Rgb kPlankLight = rgb(0xFFD9AA);
constexpr Rgb kPlankDark = rgb(0xC98F58);
constexpr Rgb kSeam = rgb(0x663300);

struct Plank {
    int top = 0;
    int bottom = 0; // exclusive
    int joint = 0; // x of the butt joint where two lengths meet
};

Plank plankAt(int y)
{
    const int index = std::min(y * kPlanks / kWindowHeight, kPlanks - 1);
    Plank plank;
    plank.top = index * kWindowHeight / kPlanks;
    plank.bottom = (index + 1) * kWindowHeight / kPlanks;
    plank.joint = 120 + int(hash(std::uint32_t(index), 1, kWindowSeed) % 660);
    return plank;
}

// Darkening toward a seam: the planks' edges are eased, so light falls off
// over the last few pixels. distance is in pixels from the seam's centre.
double seamShadow(double distance)
{
    return 0.55 * std::pow(clamp01(1 - distance / 4.0), 2);
}

Rgb windowWood(double x, double y)
{
    const Plank plank = plankAt(int(y));
    const bool second = x >= plank.joint;
    const std::uint32_t seed
        = kWindowSeed + hash(std::uint32_t(plank.top), second ? 2u : 1u, kWindowSeed) % 10000u;
    // Each length has its own tone, a few percent apart.
    const double tone
        = 0.95 + 0.08 * (hash(std::uint32_t(plank.top), second ? 4u : 3u, kWindowSeed) % 1000u) / 1000.0;
    Rgb wood = scale(mix(kPlankLight, kPlankDark, grain(x + seed % 500, y - plank.top, seed)), tone);

    const double toTop = y - plank.top;
    const double toBottom = plank.bottom - y;
    const double toJoint = std::abs(x - plank.joint);
    const double shadow = std::max({ seamShadow(toTop), seamShadow(toBottom), seamShadow(toJoint) });
    wood = mix(wood, kSeam, shadow);
    // The lit upper edge of each plank catches a little more light.
    if (toTop > 1 && toTop < 2.5 && plank.top > 0) {
        wood = mix(wood, rgb(0xFFE8C8), 0.35);
    }
    return wood;
}

// The window has no frame of its own, so the wood gets a thin bevelled edge.
Rgb windowEdge(Rgb wood, double x, double y)
{
    const double left = x;
    const double top = y;
    const double right = kWindowWidth - x;
    const double bottom = kWindowHeight - y;
    const double edge = std::min({ left, top, right, bottom });
    if (edge < 1) {
        return rgb(0x432100);
    }
    if (edge < 3) {
        const bool lit = std::min(left, top) < std::min(right, bottom);
        return mix(wood, lit ? rgb(0xFFE0B8) : rgb(0x996633), 0.7);
    }
    return scale(wood, 1 - 0.18 * std::pow(clamp01(1 - (edge - 3) / 10.0), 2));
}

// ---- the board: one dark panel, lit from above, shaded into its frame -----

constexpr int kBoardWidth = 600;
constexpr int kBoardHeight = 690;
constexpr Rgb kPanelLight = rgb(0x4A2E1C);
constexpr Rgb kPanelDark = rgb(0x301D11);

Rgb boardPanel(double x, double y)
{
    // Quiet grain: the same wood, barely a step between light and dark.
    Rgb panel = mix(kPanelLight, kPanelDark, 0.3 + 0.5 * grain(y * 0.7, x * 1.3, kBoardSeed));
    // A soft light from above the top rows, dimming toward the paddle.
    const double dx = (x - kBoardWidth / 2.0) / kBoardWidth;
    const double dy = (y - kBoardHeight * 0.25) / kBoardHeight;
    const double glow = 1.15 - 0.55 * smoothstep(0.0, 0.75, std::sqrt(dx * dx * 1.6 + dy * dy));
    panel = scale(panel, glow);
    // Recessed in the frame: a shadow along the edges, deepest at the top.
    const double edge = std::min({ x, kBoardWidth - x, y * 0.6, kBoardHeight - y });
    panel = scale(panel, 1 - 0.5 * std::pow(clamp01(1 - edge / 14.0), 2));
    // A trace of dither so the gradient shows no steps.
    return scale(panel, 0.985 + 0.03 * noise(x * 0.9, y * 0.9, kBoardSeed + 5));
}

} // namespace

QImage drawHintergrund2(int scale)
{
    return paintOpaque(
        kWindowWidth, kWindowHeight, [](double x, double y) { return windowEdge(windowWood(x, y), x, y); },
        scale);
}

QImage drawHintergrund(int scale)
{
    return paintOpaque(kBoardWidth, kBoardHeight, boardPanel, scale);
}

} // namespace art
