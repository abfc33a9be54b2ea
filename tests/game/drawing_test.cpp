// Laying the stones and drawing the figures on the board.
#include "game/game_fixture.h"
#include "resources/resources.h"

#include <array>

namespace {

using DrawingTest = GameTest;

constexpr std::array<int, 5> kRowY = { 5, 40, 75, 110, 145 };
constexpr std::array<int, 5> kRowFirstX = { 9, 61, 9, 61, 9 };

// Every stone's frame, in p and on feld.
void expectAllStonesFramed(const platform::Picture& p, const platform::Canvas& feld)
{
    for (int row = 0; row < 5; ++row) {
        for (int i = 0; i < 5; ++i) {
            const int x = kRowFirstX.at(row) + 107 * i;
            const int y = kRowY.at(row);
            SCOPED_TRACE("row " + std::to_string(row) + " stone " + std::to_string(i));
            for (auto [dx, dy] : { std::pair { 0, 15 }, { 99, 15 }, { 50, 0 }, { 50, 29 } }) {
                EXPECT_EQ(p.pixel(x + dx, y + dy), 0x663300u);
                EXPECT_EQ(feld.pixel(x + dx, y + dy), 0x663300u);
            }
        }
    }
}

// A pixel of the obstacle's picture that is not see-through.
[[nodiscard]] std::pair<int, int> obstacleMiddle()
{
    const auto hinternis = resources::hinternis();
    return { hinternis->width() / 2, hinternis->height() / 2 };
}

TEST_F(DrawingTest, SteineLaysTwentyFiveFramedStonesAndNoObstacleAtLevel0)
{
    f->steine();
    EXPECT_EQ(f->rt, (Fenster1::Row { 9, 116, 223, 330, 437, 0 }));
    EXPECT_EQ(f->gn, (Fenster1::Row { 61, 168, 275, 382, 489, 0 }));
    EXPECT_EQ(f->li, f->bl);
    EXPECT_EQ(f->ge, f->gn);
    EXPECT_EQ(feld().backdrop(), f->p.get());
    expectAllStonesFramed(*f->p, feld());
    const auto [mx, my] = obstacleMiddle();
    EXPECT_EQ(f->p->pixel(250 + mx, 400 + my), f->p1->pixel(250 + mx, 400 + my));
}

TEST_F(DrawingTest, SteineRestoresKnockedOutStonesAndAddsTheObstacleFromLevel1)
{
    f->steine();
    f->gn[3] = 0;
    f->p->graphics().drawPicture(*f->p1, 382, 40, 100, 30, 382, 40, 100, 30);
    f->level = 1;
    f->steine();
    EXPECT_EQ(f->gn[3], 382);
    expectAllStonesFramed(*f->p, feld());
    const auto [mx, my] = obstacleMiddle();
    const platform::Color obstacle = resources::hinternis()->pixel(mx, my);
    ASSERT_NE(obstacle, 0xFFFFFFu);
    EXPECT_EQ(f->p->pixel(250 + mx, 400 + my), obstacle);
    EXPECT_EQ(feld().pixel(250 + mx, 400 + my), obstacle);
}

TEST_F(DrawingTest, ErasingTheBallOverAStoneRestoresTheStone)
{
    f->steine();
    f->ballx = 100; // across the red stones 0 and 1 and the gap between
    f->bally = 20;
    f->ballhin();
    ASSERT_FALSE(feldShowsBoard(100, 20, 30, 30));
    EXPECT_EQ(feld().pixel(115, 35), f->ball->pixel(15, 15));
    f->ballweg();
    EXPECT_TRUE(feldShowsBoard(100, 20, 30, 30));
}

TEST_F(DrawingTest, ZeigenWipesBallAndPaddle)
{
    f->steine();
    f->ballx = 300;
    f->bally = 400;
    f->ballhin();
    f->maushin();
    f->zeigen();
    EXPECT_TRUE(feldShowsBoard(300, 400, 30, 30));
    EXPECT_TRUE(feldShowsBoard(200, 655, 100, 25));
}

} // namespace
