// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Pixel rules of drawing: outlines inside the rectangle, rounded corners,
// settings that persist, text on its baseline, pictures through their mask.
#include "platform/graphics.h"
#include "platform/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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

TEST(Outlines, DrawRectIsOnePixelInsideTheRectangle)
{
    Picture p(40, 30);
    p.graphics().setForeColor(kRed);
    p.graphics().drawRect(5, 4, 10, 8);
    // Columns x and x + w - 1 and rows y and y + h - 1 drawn; x + w, y + h and
    // the inside untouched.
    for (const auto& [x, y, want] : { std::tuple { 5, 4, kRed }, { 14, 4, kRed }, { 14, 11, kRed },
             { 15, 4, kWhite }, { 5, 12, kWhite }, { 6, 5, kWhite }, { 4, 4, kWhite } }) {
        EXPECT_EQ(p.pixel(x, y), want) << x << "," << y;
    }
}

TEST(Outlines, DrawRoundRectStaysInsideAndLeavesTheCorner)
{
    Picture p(100, 40);
    p.graphics().setForeColor(kRed);
    p.graphics().drawRoundRect(0, 0, 100, 40, 10, 10);
    for (const auto& [x, y, want] : { std::tuple { 0, 0, kWhite }, { 50, 0, kRed }, { 99, 20, kRed },
             { 50, 39, kRed }, { 50, 20, kWhite } }) {
        EXPECT_EQ(p.pixel(x, y), want) << x << "," << y;
    }
}

TEST(Fills, RoundRectCornersArcsOfZeroAndClipping)
{
    Picture a(40, 30);
    Picture b(40, 30);
    a.graphics().setForeColor(kRed);
    a.graphics().fillRoundRect(3, 2, 20, 10, 0, 0);
    fill(b, kRed, 3, 2, 20, 10);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << "arcs of 0 at " << x << "," << y;
        }
    }

    Picture p(100, 40);
    p.graphics().setForeColor(kRed);
    p.graphics().fillRoundRect(0, 0, 100, 40, 10, 10);
    // The corner pixels stay; where the arc ends, the edge is straight.
    for (const auto& [x, y, want] : { std::tuple { 0, 0, kWhite }, { 99, 0, kWhite }, { 0, 39, kWhite },
             { 99, 39, kWhite }, { 10, 0, kRed }, { 0, 20, kRed }, { 50, 20, kRed } }) {
        EXPECT_EQ(p.pixel(x, y), want) << x << "," << y;
    }

    Picture clipped(20, 20);
    clipped.graphics().setForeColor(kRed);
    clipped.graphics().fillRoundRect(-10, 0, 30, 20, 10, 10); // left corners cut off
    clipped.graphics().drawLine(19, 0, 19, 20); // ends one row below the picture
    EXPECT_EQ(clipped.pixel(0, 0), kRed);
    EXPECT_EQ(clipped.pixel(19, 19), kRed);
}

TEST(Pictures, TransparentOneSkipsExactlyPureWhite)
{
    Picture source(3, 1);
    fill(source, 0xFEFEFE, 1, 0, 1, 1);
    fill(source, 0x000000, 2, 0, 1, 1);
    Picture target(3, 1);
    fill(target, kRed, 0, 0, 3, 1);
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), kWhite) << "by default white is drawn";

    fill(target, kRed, 0, 0, 3, 1);
    source.setTransparent(1);
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), kRed);
    EXPECT_EQ(target.pixel(1, 0), 0xFEFEFEu);
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

TEST(Pictures, ASourceRectangleIsScaledIntoTheTargetOrCopiedToTheSamePlace)
{
    Picture source(2, 2);
    fill(source, kRed, 0, 0, 1, 2); // left half red, right half white
    Picture target(20, 20);
    fill(target, 0x000000, 0, 0, 20, 20);
    target.graphics().drawPicture(source, 0, 0, 20, 20, 0, 0, 2, 2);
    EXPECT_EQ(target.pixel(1, 10), kRed);
    EXPECT_EQ(target.pixel(18, 10), kWhite);

    // The same rectangle from and to: a partial copy, as the figures are erased.
    Picture board(20, 20);
    fill(board, 0x0000FF, 10, 10, 5, 5);
    fill(target, 0x000000, 0, 0, 20, 20);
    target.graphics().drawPicture(board, 8, 8, 10, 10, 8, 8, 10, 10);
    for (const auto& [x, y, want] : { std::tuple { 10, 10, 0x0000FFu }, { 8, 8, kWhite }, { 17, 17, kWhite },
             { 18, 18, 0x000000u }, { 7, 7, 0x000000u } }) {
        EXPECT_EQ(target.pixel(x, y), want) << x << "," << y;
    }
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
}
