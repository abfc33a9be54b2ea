// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Surfaces at twice the density: the game's pixels stay the game's pixels,
// each made of 2 x 2 device pixels, while pictures and text keep the detail
// of their device pixels.
#include "platform/graphics.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>

using platform::Color;
using platform::Picture;

namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0xFF0000;
constexpr QRgb kBlue = 0xFF0000FFu;

class AtScaleTwo : public testing::Test {
protected:
    void SetUp() override { platform::detail::setSurfaceScale(2); }
    void TearDown() override { platform::detail::setSurfaceScale(1); }

    static QRgb device(const Picture& p, int x, int y) { return p.surface().image.pixel(x, y); }

    // True when every pixel of the game is one colour in all its device
    // pixels: then sampling one of each and doubling it gives the same image.
    static bool blocky(const Picture& p)
    {
        const QImage& image = p.surface().image;
        return image == image.scaled(p.width(), p.height()).scaled(image.size());
    }
};

void drawShapes(Picture& p)
{
    platform::Graphics& g = p.graphics();
    g.setForeColor(kRed);
    g.drawRect(2, 1, 15, 9);
    g.drawLine(0, 19, 29, 12);
    g.fillRoundRect(20, 2, 9, 8, 6, 6);
    g.setForeColor(0x00FF00);
    g.drawRoundRect(4, 11, 14, 8, 8, 4);
    g.fillRect(-3, 17, 5, 10); // clipped
}

} // namespace

TEST_F(AtScaleTwo, ShapesCoverTheSamePixelsAsAtScaleOneInWholeBlocks)
{
    Picture fine(30, 20);
    drawShapes(fine);
    platform::detail::setSurfaceScale(1);
    Picture plain(30, 20);
    drawShapes(plain);

    ASSERT_EQ(fine.surface().image.size(), QSize(60, 40));
    EXPECT_EQ(fine.width(), 30);
    EXPECT_TRUE(blocky(fine));
    EXPECT_EQ(fine.surface().image.scaled(30, 20), plain.surface().image);
}

TEST_F(AtScaleTwo, TextIsDrawnWithTheDevicePixels)
{
    Picture p(80, 30);
    p.graphics().setTextSize(20);
    p.graphics().drawString("Neu", 5, 22);
    EXPECT_FALSE(blocky(p)) << "the caption is its scale-one pixels doubled";
    // On its baseline: ink above row 22, none far below it.
    int lowestInk = -1;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (p.pixel(x, y) != kWhite) {
                lowestInk = y;
            }
        }
    }
    EXPECT_GE(lowestInk, 19);
    EXPECT_LE(lowestInk, 22);
}

TEST_F(AtScaleTwo, WhiteIsLeftOutMasksApplyPerDevicePixelAndPlainArtIsStretched)
{
    // One pixel of the game, half white and half blue in its device pixels.
    Picture figure(1, 1);
    figure.surface().image.setPixel(0, 0, kBlue);
    figure.surface().image.setPixel(1, 1, kBlue);
    figure.setTransparent(1);
    Picture board(2, 1);
    board.graphics().setForeColor(kRed);
    board.graphics().fillRect(0, 0, 2, 1);
    board.graphics().drawPicture(figure, 1, 0);
    EXPECT_EQ(device(board, 2, 0), kBlue);
    EXPECT_EQ(device(board, 3, 1), kBlue);
    EXPECT_EQ(device(board, 3, 0), 0xFFFF0000u) << "white drawn over the board";
    EXPECT_EQ(device(board, 1, 0), 0xFFFF0000u);

    // A mask black in one device pixel and white in the others.
    Picture blue(1, 1);
    blue.surface().image.fill(kBlue);
    blue.mask().surface().image.fill(0xFFFFFFFFu);
    blue.mask().surface().image.setPixel(1, 0, 0xFF000000u);
    board.graphics().drawPicture(blue, 0, 0);
    EXPECT_EQ(device(board, 1, 0), kBlue);
    EXPECT_EQ(device(board, 0, 0), 0xFFFF0000u);

    // Art made for scale 1 (a picture without its fine art) stretched to its
    // size in the game's pixels, not drawn at half of it.
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
