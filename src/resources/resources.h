// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game's pictures and its cursor, loaded from the application's resources
// on first use, kept for the whole run and shared by every caller. ball2,
// hinternis and maus2 come back with Transparent 1.
//
// A resource that cannot be read gives null and is tried again at the next
// call; for the three transparent pictures that raises NilObjectError.
#pragma once

#include "platform/cursor.h"
#include "platform/picture.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace resources {

using PictureRef = std::shared_ptr<platform::Picture>;

// Resource ids.
inline constexpr int kBall2 = 168;
inline constexpr int kHintergrund = 169;
inline constexpr int kHintergrund2 = 170;
inline constexpr int kHinternis = 171;
inline constexpr int kM1 = 172;
inline constexpr int kMaus2 = 173;
inline constexpr int kB1 = 174;
inline constexpr int kE1 = 175;
inline constexpr int kG1 = 176;
inline constexpr int kL1 = 177;
inline constexpr int kR1 = 178;
inline constexpr int kLeerCursor = 168;

[[nodiscard]] PictureRef ball2(); // the ball, 30 x 30
[[nodiscard]] PictureRef hintergrund(); // the board's background, 600 x 690
[[nodiscard]] PictureRef Hintergrund2(); // the window's background, 900 x 730
[[nodiscard]] PictureRef hinternis(); // the obstacle
[[nodiscard]] PictureRef m1(); // the buttons' greyscale shading mask
[[nodiscard]] PictureRef maus2(); // the paddle, 100 x 25
[[nodiscard]] PictureRef b1(); // blue stone, 100 x 30
[[nodiscard]] PictureRef e1(); // yellow stone
[[nodiscard]] PictureRef g1(); // green stone
[[nodiscard]] PictureRef l1(); // purple stone
[[nodiscard]] PictureRef r1(); // red stone
[[nodiscard]] std::shared_ptr<platform::MouseCursor> leerCursor(); // nothing visible

// Empties every cache slot, the pictures in the order above and then the
// cursor; the names of the slots that held something are returned in the
// order they were released.
std::vector<std::string> releaseAll();

// Number of times a resource was read from the application (tests). Every
// read counts, also one that found nothing and one through a reader below.
[[nodiscard]] int readsFromApplication();

// Test seam: where the accessors read their resources. A reader's function
// gives the picture (or cursor) with the id, or null when there is none. An
// empty function reads from the application's own resources again.
struct ResourceReader {
    std::function<PictureRef(int id)> picture;
    std::function<std::shared_ptr<platform::MouseCursor>(int id)> cursor;
};
void setResourceReader(ResourceReader reader);

} // namespace resources
