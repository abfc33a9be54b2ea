// The ball finder on the game's own board: the real art, drawn by the real
// game, as the screen shows it.
#include "ball_finder.h"

#include "game/fenster1.h"
#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

using measure::BoardImage;
using measure::findBall;

class BallFinderTest : public testing::Test {
protected:
    void SetUp() override
    {
        f = std::make_unique<Fenster1>();
        f->show();
        f->neu_Action(); // a full set of stones, the ball waiting
    }

    // Draws the ball with its top-left corner at (x, y), and nothing else moving.
    void ballAt(int x, int y)
    {
        f->ballweg();
        f->ballx = x;
        f->bally = y;
        f->ballhin();
    }

    // What the screen shows of the board: feld's pixels, row after row.
    const std::vector<std::uint32_t>& screen()
    {
        auto& feld = f->control<platform::Canvas>("feld");
        pixels.assign(static_cast<std::size_t>(kWidth) * kHeight, 0);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                pixels[static_cast<std::size_t>(y) * kWidth + static_cast<std::size_t>(x)] = feld.pixel(x, y);
            }
        }
        return pixels;
    }

    [[nodiscard]] BoardImage wholeBoard() { return { screen().data(), kWidth, kHeight, kWidth, 0, 0 }; }

    // A part of the board, as a look near the ball reads it.
    [[nodiscard]] BoardImage part(int left, int top, int size)
    {
        const auto& all = screen();
        return { all.data() + static_cast<std::size_t>(top) * kWidth + static_cast<std::size_t>(left), size,
            size, kWidth, left, top };
    }

    static constexpr int kWidth = 600;
    static constexpr int kHeight = 690;
    std::unique_ptr<Fenster1> f;
    std::vector<std::uint32_t> pixels;
};

// The paddle is placed by x; the player steers by the centre's x, so that
// must be close. The height only tells falling from rising.
TEST_F(BallFinderTest, FindsTheBallsCentreAnywhereOnTheBoard)
{
    struct Place {
        int x;
        int y;
    };
    for (const Place place : { Place { 285, 300 }, Place { 0, 300 }, Place { 570, 500 }, Place { 0, 640 },
             Place { 570, 2 }, Place { 235, 625 } }) {
        SCOPED_TRACE(testing::Message() << "ball at " << place.x << "," << place.y);
        ballAt(place.x, place.y);
        const auto seen = findBall(wholeBoard());
        ASSERT_TRUE(seen.has_value());
        EXPECT_NEAR(seen->x, place.x + 15, 2);
        EXPECT_NEAR(seen->y, place.y + 15, 4);
    }
}

TEST_F(BallFinderTest, FindsTheBallAmongTheStonesAndBesideTheObstacle)
{
    f->level = 1;
    f->steine(); // the obstacle stands now
    ballAt(150, 20); // over the red and green rows
    auto seen = findBall(wholeBoard());
    ASSERT_TRUE(seen.has_value());
    EXPECT_NEAR(seen->x, 165, 2);

    ballAt(300, 365); // resting on the obstacle's top
    seen = findBall(wholeBoard());
    ASSERT_TRUE(seen.has_value());
    EXPECT_NEAR(seen->x, 315, 2);
}

TEST_F(BallFinderTest, APartOfTheBoardGivesBoardCoordinates)
{
    ballAt(400, 450);
    const auto whole = findBall(wholeBoard());
    const auto near = findBall(part(340, 390, 160));
    ASSERT_TRUE(whole.has_value());
    ASSERT_TRUE(near.has_value());
    EXPECT_EQ(near->x, whole->x);
    EXPECT_EQ(near->y, whole->y);

    EXPECT_FALSE(findBall(part(0, 0, 160)).has_value()); // the ball is elsewhere
}

} // namespace
