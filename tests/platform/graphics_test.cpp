// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Pictures drawn over pictures: white left out only when asked, the mask's
// grey blended in, a copy independent of its source. The outlines, rounded
// corners and scaled parts the window draws the screen's reference frames pin.
#include "platform/graphics.h"
#include "platform/picture.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(target.pixel(0, 0), kRed);
    EXPECT_EQ(target.pixel(1, 0), 0xFFFEFEu);
    EXPECT_EQ(target.pixel(2, 0), 0x000000u);
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
    EXPECT_EQ(board.pixel(2, 2), kRed);
    EXPECT_EQ(board.pixel(17, 7), 0x432100u);
    EXPECT_EQ(text.pixel(17, 7), 0x432100u);
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
