// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Pictures drawn over pictures: white left out only when asked, the mask's
// grey blended in, a copy independent of its source; and at twice the density
// where the window's own frames do not look: art made for scale 1 and figures
// far off the surface. The outlines, rounded corners, scaled parts, text and
// masks the window draws the screen's reference frames pin at both scales.
#include "platform/graphics.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>

using platform::Color;
using platform::Picture;

namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0xFF0000;

// Fills the rectangle of the picture with the colour.
void fill(Picture& p, Color c, int x, int y, int w, int h)
{
    p.graphics().setForeColor(c);
    p.graphics().fillRect(x, y, w, h);
}

} // namespace

TEST(Pictures, TransparentOneSkipsExactlyPureWhite)
{
    Picture source(3, 1);
    fill(source, 0xFFFEFE, 1, 0, 1, 1);
    fill(source, 0x000000, 2, 0, 1, 1);
    Picture target(3, 1);
    fill(target, kRed, 0, 0, 3, 1);
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), kWhite) << "by default white is drawn";

    fill(target, kRed, 0, 0, 3, 1);
    source.setTransparent(1);
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(std::tuple(target.pixel(0, 0), target.pixel(1, 0), target.pixel(2, 0)),
        std::tuple(kRed, 0xFFFEFEu, 0x000000u));
}

TEST(Pictures, MaskBlendsProportionally)
{
    Picture source(3, 1);
    fill(source, 0x000000, 0, 0, 3, 1);
    Picture& mask = source.mask();
    fill(mask, 0x000000, 0, 0, 1, 1);
    fill(mask, 0xFFFFFF, 1, 0, 1, 1);
    fill(mask, 0x808080, 2, 0, 1, 1);
    Picture target(3, 1); // white
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), 0x000000u); // black mask: opaque
    EXPECT_EQ(target.pixel(1, 0), 0xFFFFFFu); // white mask: invisible
    for (const int shift : { 0, 8, 16 }) {
        EXPECT_NEAR(static_cast<int>((target.pixel(2, 0) >> shift) & 0xFF), 0x80, 3)
            << std::hex << target.pixel(2, 0);
    }

    // Changing the mask afterwards is seen by the next drawing.
    fill(mask, 0x000000, 1, 0, 1, 1);
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(1, 0), 0x000000u);
}

TEST(Pictures, AWholeCopyIsIndependentOfItsSource)
{
    Picture background(20, 10);
    fill(background, 0x432100, 0, 0, 20, 10);
    Picture board(20, 10);
    Picture text(20, 10);
    board.graphics().drawPicture(background, 0, 0);
    text.graphics().drawPicture(background, 0, 0);
    fill(board, kRed, 0, 0, 5, 5); // a stone on the board
    text.graphics().setTextSize(12);
    text.graphics().drawString("HH", 0, 9); // text on a copy
    fill(background, 0x00FF00, 15, 5, 5, 5); // and the background changes too
    EXPECT_EQ(std::tuple(board.pixel(2, 2), board.pixel(17, 7), text.pixel(17, 7)),
        std::tuple(kRed, 0x432100u, 0x432100u));
    int inked = 0;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 15; ++x) {
            ASSERT_EQ(background.pixel(x, y), 0x432100u) << x << "," << y;
            inked += text.pixel(x, y) != 0x432100u ? 1 : 0;
        }
    }
    EXPECT_GT(inked, 0);

    // A smaller opaque picture at the origin covers its own size only.
    board.graphics().drawPicture(Picture(5, 5), 0, 0);
    EXPECT_EQ(board.width(), 20);
    EXPECT_EQ(board.pixel(17, 7), 0x432100u);
}

// Art made for scale 1 (a picture without its fine art) is stretched to its
// size in the game's pixels, not drawn at half of it. A figure at a position
// that wrapped around (the game's positions are 32-bit and keep growing once
// it is over) stays off the board.
TEST(Pictures, AtScaleTwoPlainArtIsStretchedAndFiguresFarOffTheSurfaceDrawNothing)
{
    platform::detail::setSurfaceScale(2);
    Picture board(2, 1);
    fill(board, kRed, 0, 0, 2, 1);
    QImage plain(1, 1, QImage::Format_RGB32);
    plain.fill(0xFF00FF00u);
    board.graphics().drawPicture(Picture(std::make_unique<platform::detail::Surface>(plain, 1)), 1, 0);
    const QImage& device = board.surface().image;
    EXPECT_EQ(std::tuple(device.pixel(2, 0), device.pixel(3, 1), device.pixel(1, 1)),
        std::tuple(0xFF00FF00u, 0xFF00FF00u, 0xFFFF0000u));

    Picture red(30, 10);
    fill(red, kRed, 0, 0, 30, 10);
    Picture far(300, 10);
    for (const int x : { INT32_MIN + 100, INT32_MAX - 100 }) {
        far.graphics().drawPicture(red, x, 0);
        far.graphics().drawPicture(red, x, 0, 20, 10, 0, 0, 20, 10);
    }
    EXPECT_EQ(far.surface().image, Picture(300, 10).surface().image);
    platform::detail::setSurfaceScale(1);
}
