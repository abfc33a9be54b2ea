// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Surfaces at twice the density where the window's own frames do not look:
// art made for scale 1 and figures far off the surface. The shapes, the text,
// the see-through figures and the masks at scale 2 the screen's reference
// frames pin.
#include "platform/graphics.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>

using platform::Picture;

namespace {

constexpr platform::Color kRed = 0xFF0000;

class AtScaleTwo : public testing::Test {
protected:
    void SetUp() override { platform::detail::setSurfaceScale(2); }
    void TearDown() override { platform::detail::setSurfaceScale(1); }

    static QRgb device(const Picture& p, int x, int y) { return p.surface().image.pixel(x, y); }
};

} // namespace

// Art made for scale 1 (a picture without its fine art) is stretched to its
// size in the game's pixels, not drawn at half of it.
TEST_F(AtScaleTwo, PlainArtIsStretchedToItsSizeInTheGamesPixels)
{
    Picture board(2, 1);
    board.graphics().setForeColor(kRed);
    board.graphics().fillRect(0, 0, 2, 1);
    QImage plain(1, 1, QImage::Format_RGB32);
    plain.fill(0xFF00FF00u);
    board.graphics().drawPicture(Picture(std::make_unique<platform::detail::Surface>(plain, 1)), 1, 0);
    for (const auto& [x, y] : { std::pair { 2, 0 }, { 3, 1 } }) {
        EXPECT_EQ(device(board, x, y), 0xFF00FF00u) << x << "," << y;
    }
    EXPECT_EQ(device(board, 1, 1), 0xFFFF0000u);
}

// A figure at a position that wrapped around (the game's positions are
// 32-bit and keep growing once it is over) stays off the board.
TEST_F(AtScaleTwo, FiguresFarOffTheSurfaceDrawNothing)
{
    Picture red(30, 10);
    red.graphics().setForeColor(kRed);
    red.graphics().fillRect(0, 0, 30, 10);
    Picture board(300, 10);
    for (const int x : { INT32_MIN + 100, INT32_MAX - 100 }) {
        board.graphics().drawPicture(red, x, 0);
        board.graphics().drawPicture(red, x, 0, 20, 10, 0, 0, 20, 10);
    }
    EXPECT_EQ(board.surface().image, Picture(300, 10).surface().image);
}
