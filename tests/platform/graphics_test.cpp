// Pixel rules of drawing: outlines inside the rectangle, rounded corners,
// settings that persist, text on its baseline, pictures through their mask.
#include "platform/graphics.h"
#include "platform/picture.h"

#include <gtest/gtest.h>

#include <cstdlib>

using platform::Color;
using platform::Picture;

namespace {

constexpr Color kWhite = 0xFFFFFF;
constexpr Color kRed = 0xFF0000;

Picture blank(int w = 40, int h = 30)
{
    return Picture(w, h);
}

bool near(Color a, Color b, int tolerance)
{
    for (int shift : { 0, 8, 16 }) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF))
            > tolerance) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(Outlines, DrawRectIsOnePixelInsideTheRectangle)
{
    Picture p = blank();
    p.graphics().setForeColor(kRed);
    p.graphics().drawRect(5, 4, 10, 8);
    EXPECT_EQ(p.pixel(5, 4), kRed);
    EXPECT_EQ(p.pixel(14, 4), kRed); // column x + w - 1
    EXPECT_EQ(p.pixel(14, 11), kRed); // row y + h - 1
    EXPECT_EQ(p.pixel(15, 4), kWhite); // column x + w untouched
    EXPECT_EQ(p.pixel(5, 12), kWhite);
    EXPECT_EQ(p.pixel(6, 5), kWhite); // inside stays
    EXPECT_EQ(p.pixel(4, 4), kWhite);
}

TEST(Outlines, DrawRoundRectStaysInsideAndLeavesTheCorner)
{
    Picture p = blank(100, 40);
    p.graphics().setForeColor(kRed);
    p.graphics().drawRoundRect(0, 0, 100, 40, 10, 10);
    EXPECT_EQ(p.pixel(0, 0), kWhite);
    EXPECT_EQ(p.pixel(50, 0), kRed);
    EXPECT_EQ(p.pixel(99, 20), kRed);
    EXPECT_EQ(p.pixel(50, 39), kRed);
    EXPECT_EQ(p.pixel(50, 20), kWhite);
    // The outline is closed: every row of the shape has its ends drawn.
    for (int y = 0; y < 40; ++y) {
        int first = -1;
        for (int x = 0; x < 100 && first < 0; ++x) {
            if (p.pixel(x, y) == kRed) {
                first = x;
            }
        }
        EXPECT_GE(first, 0) << "row " << y;
    }
}

TEST(Fills, RoundRectWithArcsZeroIsAPlainRectangle)
{
    Picture a = blank();
    Picture b = blank();
    a.graphics().setForeColor(kRed);
    b.graphics().setForeColor(kRed);
    a.graphics().fillRoundRect(3, 2, 20, 10, 0, 0);
    b.graphics().fillRect(3, 2, 20, 10);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(a.pixel(22, 11), kRed);
    EXPECT_EQ(a.pixel(23, 11), kWhite);
}

TEST(Fills, RoundRectWithRadiusTenLeavesTheCornerPixels)
{
    Picture p = blank(100, 40);
    p.graphics().setForeColor(kRed);
    p.graphics().fillRoundRect(0, 0, 100, 40, 10, 10);
    EXPECT_EQ(p.pixel(0, 0), kWhite);
    EXPECT_EQ(p.pixel(99, 0), kWhite);
    EXPECT_EQ(p.pixel(0, 39), kWhite);
    EXPECT_EQ(p.pixel(99, 39), kWhite);
    EXPECT_EQ(p.pixel(10, 0), kRed); // where the arc ends, the edge is straight
    EXPECT_EQ(p.pixel(0, 20), kRed);
    EXPECT_EQ(p.pixel(50, 20), kRed);
}

TEST(Fills, ShapesOutsideThePictureAreClipped)
{
    Picture p = blank(20, 20);
    p.graphics().setForeColor(kRed);
    p.graphics().fillRoundRect(-10, 0, 30, 20, 10, 10); // left corners cut off
    p.graphics().drawLine(19, 0, 19, 20); // ends one row below the picture
    EXPECT_EQ(p.pixel(0, 0), kRed);
    EXPECT_EQ(p.pixel(19, 0), kRed);
    EXPECT_EQ(p.pixel(19, 19), kRed);
}

TEST(Settings, PersistBetweenUsesOfOneSurface)
{
    Picture p = blank();
    p.graphics().setForeColor(0x123456);
    p.graphics().setBold(true);
    p.graphics().setTextSize(20);
    const int boldHeight = p.graphics().textHeight();
    p.graphics().fillRect(0, 0, 1, 1);
    EXPECT_EQ(p.pixel(0, 0), 0x123456u);
    EXPECT_TRUE(p.graphics().bold());
    EXPECT_EQ(p.graphics().textSize(), 20);
    p.graphics().setTextSize(0);
    EXPECT_LT(p.graphics().textHeight(), boldHeight); // 0 is the smaller default size
    Picture other = blank();
    EXPECT_EQ(other.graphics().foreColor(), 0x000000u); // settings belong to their surface
}

TEST(Text, DrawStringPutsTheBaselineAtY)
{
    Picture p = blank(60, 60);
    p.graphics().setForeColor(0x000000);
    p.graphics().setTextSize(30);
    p.graphics().drawString("H", 10, 40);
    int lowest = -1;
    int leftmost = 60;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (p.pixel(x, y) != kWhite) {
                lowest = std::max(lowest, y);
                leftmost = std::min(leftmost, x);
            }
        }
    }
    // "H" has no descender: its ink ends on the row above the baseline.
    EXPECT_GE(lowest, 38);
    EXPECT_LE(lowest, 40);
    EXPECT_GE(leftmost, 10);
    EXPECT_LE(leftmost, 14);
    EXPECT_GT(p.graphics().stringWidth("HH"), p.graphics().stringWidth("H"));
}

TEST(Pictures, TransparentOneSkipsExactlyPureWhite)
{
    Picture source(3, 1);
    source.graphics().setForeColor(0xFFFFFF);
    source.graphics().fillRect(0, 0, 1, 1);
    source.graphics().setForeColor(0xFEFEFE);
    source.graphics().fillRect(1, 0, 1, 1);
    source.graphics().setForeColor(0x000000);
    source.graphics().fillRect(2, 0, 1, 1);
    Picture target(3, 1);
    target.graphics().setForeColor(kRed);
    target.graphics().fillRect(0, 0, 3, 1);

    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), 0xFFFFFFu) << "default: white is drawn";

    target.graphics().fillRect(0, 0, 3, 1);
    source.setTransparent(1);
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), kRed);
    EXPECT_EQ(target.pixel(1, 0), 0xFEFEFEu);
    EXPECT_EQ(target.pixel(2, 0), 0x000000u);
}

TEST(Pictures, MaskBlendsProportionally)
{
    Picture source(3, 1);
    source.graphics().setForeColor(0x000000);
    source.graphics().fillRect(0, 0, 3, 1);
    Picture& mask = source.mask();
    mask.graphics().setForeColor(0x000000);
    mask.graphics().fillRect(0, 0, 1, 1);
    mask.graphics().setForeColor(0xFFFFFF);
    mask.graphics().fillRect(1, 0, 1, 1);
    mask.graphics().setForeColor(0x808080);
    mask.graphics().fillRect(2, 0, 1, 1);
    Picture target(3, 1); // white
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(0, 0), 0x000000u); // black mask: opaque
    EXPECT_EQ(target.pixel(1, 0), 0xFFFFFFu); // white mask: invisible
    EXPECT_TRUE(near(target.pixel(2, 0), 0x808080, 3)) << std::hex << target.pixel(2, 0);

    // Changing the mask afterwards is seen by the next drawing.
    mask.graphics().setForeColor(0x000000);
    mask.graphics().fillRect(1, 0, 1, 1);
    target.graphics().drawPicture(source, 0, 0);
    EXPECT_EQ(target.pixel(1, 0), 0x000000u);
}

TEST(Pictures, SourceRectangleScalesAndOwnSizeMeansThePicture)
{
    Picture source(2, 2);
    source.graphics().setForeColor(kRed);
    source.graphics().fillRect(0, 0, 1, 2); // left half red, right half white
    Picture target(20, 20);
    target.graphics().setForeColor(0x000000);
    target.graphics().fillRect(0, 0, 20, 20);
    target.graphics().drawPicture(source, 0, 0, 20, 20, 0, 0, 2, 2);
    EXPECT_EQ(target.pixel(1, 10), kRed);
    EXPECT_EQ(target.pixel(18, 10), kWhite);

    Picture small(4, 3);
    small.graphics().setForeColor(0x00FF00);
    small.graphics().fillRect(0, 0, 4, 3);
    target.graphics().drawPicture(
        small, 5, 5, platform::kOwnSize, platform::kOwnSize, 0, 0, platform::kOwnSize, platform::kOwnSize);
    EXPECT_EQ(target.pixel(8, 7), 0x00FF00u);
    EXPECT_NE(target.pixel(9, 7), 0x00FF00u);
    EXPECT_NE(target.pixel(8, 8), 0x00FF00u);
}

TEST(Pictures, PartialCopyCopiesTheSameRectangle)
{
    Picture board(50, 50);
    board.graphics().setForeColor(0x0000FF);
    board.graphics().fillRect(10, 10, 5, 5);
    Picture target(50, 50);
    target.graphics().setForeColor(0x000000);
    target.graphics().fillRect(0, 0, 50, 50);
    target.graphics().drawPicture(board, 8, 8, 10, 10, 8, 8, 10, 10);
    EXPECT_EQ(target.pixel(10, 10), 0x0000FFu);
    EXPECT_EQ(target.pixel(8, 8), 0xFFFFFFu);
    EXPECT_EQ(target.pixel(17, 17), 0xFFFFFFu);
    EXPECT_EQ(target.pixel(18, 18), 0x000000u); // outside the copied rectangle
    EXPECT_EQ(target.pixel(7, 7), 0x000000u);
}

TEST(Pictures, AColourBlendedOverItselfThroughGreyStaysThatColour)
{
    for (Color grey : {0x808080u, 0xC0C0C0u, 0x404040u}) {
        Picture source(4, 1);
        Picture target(4, 1);
        for (Picture* p : {&source, &target}) {
            p->graphics().setForeColor(0xFFCC99);
            p->graphics().fillRect(0, 0, 4, 1);
        }
        source.mask().graphics().setForeColor(grey);
        source.mask().graphics().fillRect(0, 0, 4, 1);
        target.graphics().drawPicture(source, 0, 0);
        EXPECT_EQ(target.pixel(2, 0), 0xFFCC99u) << std::hex << grey;
    }
}

TEST(Pictures, AWholeCopyIsIndependentOfItsSource)
{
    Picture background(20, 10);
    background.graphics().setForeColor(0x432100);
    background.graphics().fillRect(0, 0, 20, 10);
    Picture board(20, 10);
    board.graphics().drawPicture(background, 0, 0);
    EXPECT_EQ(board.pixel(5, 5), 0x432100u);
    board.graphics().setForeColor(kRed);  // a stone on the board
    board.graphics().fillRect(0, 0, 5, 5);
    background.graphics().setForeColor(0x00FF00);  // and the background changes too
    background.graphics().fillRect(15, 5, 5, 5);
    EXPECT_EQ(background.pixel(2, 2), 0x432100u);
    EXPECT_EQ(board.pixel(2, 2), kRed);
    EXPECT_EQ(board.pixel(17, 7), 0x432100u);
    board.graphics().drawString("H", 8, 9);  // text detaches as well
    EXPECT_EQ(background.pixel(17, 7), 0x00FF00u);
}
