// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The buttons' shading mask and the empty cursor.
#include "art.h"
#include "shading.h"

#include <cmath>
#include <numbers>

namespace art {

namespace {

constexpr int kMaskWidth = 100;
constexpr int kMaskHeight = 60;

// Grey level 0..1 at (x, y): 0 shows the button's colour, 1 is white.
// A glossy band over the upper half, brightest at the top, that ends in a
// soft edge a little above the middle; below it the plain colour, with a
// faint glow of reflected light toward the bottom. The band is slightly
// narrower at its ends, as on a rounded plate.
double shading(double x, double y)
{
    const double u = x / kMaskWidth;
    const double v = y / kMaskHeight;
    const double across = std::sin(std::numbers::pi * u); // 0 at the ends, 1 in the middle
    const double band = 1 - smoothstep(0.44, 0.5, v);
    const double gloss = (0.56 - 0.34 * smoothstep(0.0, 0.46, v)) * (0.8 + 0.2 * across);
    const double glow = 0.16 * smoothstep(0.68, 1.0, v);
    return band * gloss + (1 - band) * glow;
}

} // namespace

QImage drawM1(int scale)
{
    QImage image(kMaskWidth * scale, kMaskHeight * scale, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = int(std::lround(255 * clamp01(shading((x + 0.5) / scale, (y + 0.5) / scale))));
            image.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return image;
}

QImage drawLeerCursor()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 0));
    return image;
}

} // namespace art
