// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "shading.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace art {

Rgb mix(Rgb a, Rgb b, double t)
{
    return { a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t };
}

Rgb scale(Rgb c, double f)
{
    return { c.r * f, c.g * f, c.b * f };
}

Rgb add(Rgb a, Rgb b)
{
    return { a.r + b.r, a.g + b.g, a.b + b.b };
}

namespace {

int channel(double v, int highest)
{
    return std::clamp(int(std::lround(v)), 0, highest);
}

} // namespace

QRgb opaque(Rgb c)
{
    return qRgb(channel(c.r, 255), channel(c.g, 255), channel(c.b, 255));
}

QRgb neverWhite(Rgb c)
{
    return qRgb(channel(c.r, 254), channel(c.g, 254), channel(c.b, 254));
}

double clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}

double smoothstep(double edge0, double edge1, double v)
{
    const double t = clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

std::uint32_t hash(std::uint32_t a, std::uint32_t b, std::uint32_t seed)
{
    // Integer mixing only, so the pictures come out the same on every machine.
    std::uint32_t h = seed ^ 0x9E3779B9u;
    h ^= a * 0x85EBCA6Bu;
    h = (h << 13) | (h >> 19);
    h ^= b * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

namespace {

double lattice(int x, int y, std::uint32_t seed)
{
    return double(hash(std::uint32_t(x), std::uint32_t(y), seed) >> 8) / double(1u << 24);
}

} // namespace

double noise(double x, double y, std::uint32_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = int(fx);
    const int iy = int(fy);
    const double tx = smoothstep(0, 1, x - fx);
    const double ty = smoothstep(0, 1, y - fy);
    const double top = lattice(ix, iy, seed) + (lattice(ix + 1, iy, seed) - lattice(ix, iy, seed)) * tx;
    const double bottom
        = lattice(ix, iy + 1, seed) + (lattice(ix + 1, iy + 1, seed) - lattice(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

double fractalNoise(double x, double y, std::uint32_t seed, int octaves)
{
    double sum = 0;
    double weight = 0.5;
    double total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += noise(x, y, seed + std::uint32_t(i) * 101u) * weight;
        total += weight;
        x *= 2;
        y *= 2;
        weight *= 0.5;
    }
    return sum / total;
}

Vec3 normalize(Vec3 v)
{
    const double length = std::sqrt(dot(v, v));
    return length > 0 ? Vec3 { v.x / length, v.y / length, v.z / length } : Vec3 { 0, 0, 1 };
}

double dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

namespace {

// From the upper left and in front; y grows downward, so "up" is negative.
const Vec3 kLight = normalize({ -0.45, -0.65, 0.62 });
const Vec3 kHalfway = normalize({ kLight.x, kLight.y, kLight.z + 1 });

} // namespace

Rgb lit(const Material& material, Vec3 normal)
{
    const Vec3 n = normalize(normal);
    // Half the light is ambient, so faces turned away stay in the colour's
    // family instead of going black; a flat face gives exactly 1.
    const double diffuse = std::clamp(0.5 + 0.5 * dot(n, kLight) / kLight.z, 0.45, 1.6);
    const double highlight
        = material.specular * std::pow(std::max(0.0, dot(n, kHalfway)), material.shininess);
    const double flatHighlight = material.specular * std::pow(kHalfway.z, material.shininess);
    // The highlight a flat face would get is part of its base colour already.
    const double extra = std::max(0.0, highlight - flatHighlight);
    return mix(scale(material.base, diffuse), rgb(0xFFFFFF), clamp01(extra));
}

double RoundedBox::distance(double x, double y) const
{
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double hx = (right - left) / 2 - radius;
    const double hy = (bottom - top) / 2 - radius;
    const double qx = std::abs(x - cx) - hx;
    const double qy = std::abs(y - cy) - hy;
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

Vec3 bevelNormal(const RoundedBox& box, double bevel, double x, double y)
{
    const double depth = -box.distance(x, y);
    if (depth >= bevel) {
        return { 0, 0, 1 };
    }
    constexpr double step = 0.25;
    const double gx = box.distance(x + step, y) - box.distance(x - step, y);
    const double gy = box.distance(x, y + step) - box.distance(x, y - step);
    const Vec3 outward = normalize({ gx, gy, 0 });
    const double tilt = clamp01(1 - std::max(depth, 0.0) / bevel); // 0 at the flat, 1 at the outline
    // A quarter circle, stopped at 60 degrees so the outline still faces the
    // viewer a little.
    const double sideways = 0.87 * std::sqrt(1 - (1 - tilt) * (1 - tilt));
    return { outward.x * sideways, outward.y * sideways, std::sqrt(1 - sideways * sideways) };
}

QImage figureOnWhite(int width, int height, const Inside& inside, const Shade& shade, Rgb rim, int density)
{
    width *= density;
    height *= density;
    constexpr int kGrid = 4; // 4 x 4 samples per pixel
    constexpr double kLeftWhite = 1.0 / 3; // less covered than this stays see-through
    constexpr double kOutlineDarkening = 0.45;
    std::vector<double> coverage(std::size_t(width * height), 0.0);
    std::vector<Rgb> colour(coverage.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            int covered = 0;
            for (int sy = 0; sy < kGrid; ++sy) {
                for (int sx = 0; sx < kGrid; ++sx) {
                    const double px = (x + (sx + 0.5) / kGrid) / density;
                    const double py = (y + (sy + 0.5) / kGrid) / density;
                    if (inside(px, py)) {
                        sum = add(sum, shade(px, py));
                        ++covered;
                    }
                }
            }
            const std::size_t at = std::size_t(y * width + x);
            coverage[at] = double(covered) / (kGrid * kGrid);
            colour[at] = covered > 0 ? mix(rim, scale(sum, 1.0 / covered), coverage[at]) : rim;
        }
    }
    auto seeThrough = [&](int x, int y) {
        return x < 0 || y < 0 || x >= width || y >= height
            || coverage[std::size_t(y * width + x)] < kLeftWhite;
    };
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (seeThrough(x, y)) {
                image.setPixel(x, y, qRgb(255, 255, 255));
                continue;
            }
            Rgb c = colour[std::size_t(y * width + x)];
            // The outermost pixels are darkened into the rim: a crisp edge on
            // the light wood as on the dark board, and never a light seam.
            if (seeThrough(x - 1, y) || seeThrough(x + 1, y) || seeThrough(x, y - 1)
                || seeThrough(x, y + 1)) {
                c = mix(c, rim, kOutlineDarkening);
            }
            image.setPixel(x, y, neverWhite(c));
        }
    }
    return image;
}

QImage paintOpaque(int width, int height, const Shade& shade, int density)
{
    QImage image(width * density, height * density, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, opaque(shade((x + 0.5) / density, (y + 0.5) / density)));
        }
    }
    return image;
}

} // namespace art
