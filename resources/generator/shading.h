// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The small toolbox every picture is painted with: colours as doubles,
// deterministic noise, a light from the upper left, bevelled shapes and the
// rules for pictures whose white is see-through.
#pragma once

#include <QImage>

#include <cstdint>
#include <functional>

namespace art {

// A colour with channels in 0..255 that may stray outside while mixing.
struct Rgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

[[nodiscard]] constexpr Rgb rgb(std::uint32_t hex)
{
    return { double((hex >> 16) & 0xFF), double((hex >> 8) & 0xFF), double(hex & 0xFF) };
}
[[nodiscard]] Rgb mix(Rgb a, Rgb b, double t); // t = 0 gives a, 1 gives b
[[nodiscard]] Rgb scale(Rgb c, double f);
[[nodiscard]] Rgb add(Rgb a, Rgb b);
// Opaque pixel, channels rounded and clamped to 0..255.
[[nodiscard]] QRgb opaque(Rgb c);
// Opaque pixel that is never pure white: channels clamped to 0..254.
[[nodiscard]] QRgb neverWhite(Rgb c);

[[nodiscard]] double clamp01(double v);
[[nodiscard]] double smoothstep(double edge0, double edge1, double v);

// Value noise in 0..1 on an integer lattice, smooth between the lattice
// points; the same seed always gives the same field.
[[nodiscard]] double noise(double x, double y, std::uint32_t seed);
// Several octaves of noise, each at twice the frequency and half the weight.
[[nodiscard]] double fractalNoise(double x, double y, std::uint32_t seed, int octaves);
// A well-mixed 32-bit hash, for per-plank choices and the like.
[[nodiscard]] std::uint32_t hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed);

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};
[[nodiscard]] Vec3 normalize(Vec3 v);
[[nodiscard]] double dot(Vec3 a, Vec3 b);

// How a surface answers the light.
struct Material {
    Rgb base; // the colour of a flat face looking at the viewer
    double specular = 0.5; // strength of the highlight, 0..1
    double shininess = 30; // higher is a smaller, harder highlight
};

// The colour of a surface with this normal (z toward the viewer, y down).
// A flat face shows the material's base colour; faces turned to the upper
// left get lighter, faces turned away darker, plus a white highlight.
[[nodiscard]] Rgb lit(const Material& material, Vec3 normal);

// Signed distance from (x, y) to the outline of a rounded rectangle, in
// pixels: negative inside. The rectangle spans [left, right] x [top, bottom].
struct RoundedBox {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    double radius = 0;
    [[nodiscard]] double distance(double x, double y) const;
};

// The normal of a cushion-shaped slab: flat in the middle, rolling over a
// quarter circle to vertical within `bevel` pixels of the outline.
[[nodiscard]] Vec3 bevelNormal(const RoundedBox& box, double bevel, double x, double y);

// A figure of a see-through picture: what lies inside the shape is painted
// by `shade`, everything else is pure white. Edge pixels are smoothed into
// `rim`, a dark colour, and never into the white around them: a light fringe
// would glow on the dark board. Pixels less than a third covered are left
// white; the outermost pixels of the figure are darkened toward the rim. No
// pixel of the figure is pure white, or it would become a hole.
using Inside = std::function<bool(double x, double y)>;
using Shade = std::function<Rgb(double x, double y)>;
//
// width and height are the picture's size in the game's pixels; the image
// has `density` device pixels to each of them, and `inside` and `shade` are
// asked in the game's pixels, so a picture at density 2 is the same figure
// with twice the detail.
[[nodiscard]] QImage figureOnWhite(
    int width, int height, const Inside& inside, const Shade& shade, Rgb rim, int density);

// A fully painted opaque picture; `shade` is sampled at device pixel centres.
[[nodiscard]] QImage paintOpaque(int width, int height, const Shade& shade, int density);

} // namespace art
