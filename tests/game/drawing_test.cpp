// Laying the stones and drawing the figures on the board.
#include "game/board.h"
#include "game/game_fixture.h"
#include "resources/resources.h"

namespace {

using DrawingTest = GameTest;

// Every stone on p and on feld: the resource stone inside a dark-brown frame.
void expectAllStonesFramed(const platform::Picture& p, const platform::Canvas& feld)
{
    const resources::PictureRef quellen[]
        = { resources::r1(), resources::g1(), resources::b1(), resources::e1(), resources::l1() };
    for (int row = 0; row < 5; ++row) {
        for (int i = 0; i < 5; ++i) {
            const int x = board::kRowFirstX.at(row) + 107 * i;
            const int y = board::kRowY.at(row);
            SCOPED_TRACE("row " + std::to_string(row) + " stone " + std::to_string(i));
            for (auto [dx, dy] : { std::pair { 0, 15 }, { 99, 15 }, { 50, 0 }, { 50, 29 }, { 99, 29 } }) {
                EXPECT_EQ(p.pixel(x + dx, y + dy), 0x663300u);
                EXPECT_EQ(feld.pixel(x + dx, y + dy), 0x663300u);
            }
            EXPECT_EQ(p.pixel(x + 50, y + 15), quellen[row]->pixel(50, 15));
        }
    }
}

TEST_F(DrawingTest, SteineLaysTwentyFiveFramedStonesAndTheObstacleFromLevel1)
{
    const auto hinternis = resources::hinternis();
    const int mx = hinternis->width() / 2, my = hinternis->height() / 2;
    const platform::Color obstacle = hinternis->pixel(mx, my);
    ASSERT_NE(obstacle, 0xFFFFFFu);

    f->steine();
    EXPECT_EQ(f->rt, (Fenster1::Row { 9, 116, 223, 330, 437, 0 }));
    EXPECT_EQ(f->gn, (Fenster1::Row { 61, 168, 275, 382, 489, 0 }));
    EXPECT_EQ(feld().backdrop(), f->p.get());
    expectAllStonesFramed(*f->p, feld());
    EXPECT_EQ(f->p->pixel(250 + mx, 400 + my), f->p1->pixel(250 + mx, 400 + my)) << "no obstacle at level 0";

    // A knocked-out stone comes back.
    f->gn[3] = 0;
    f->p->graphics().drawPicture(*f->p1, 382, 40, 100, 30, 382, 40, 100, 30);
    f->level = 1;
    f->steine();
    EXPECT_EQ(f->gn[3], 382);
    expectAllStonesFramed(*f->p, feld());
    EXPECT_EQ(f->p->pixel(250 + mx, 400 + my), obstacle);
    EXPECT_EQ(feld().pixel(250 + mx, 400 + my), obstacle);
}

// The ball and the paddle are see-through where their pictures are white:
// the board shows around them, not a white box; zeigen wipes both, and
// erasing the ball over a stone brings the stone back.
TEST_F(DrawingTest, FiguresLetTheBoardShowAroundThemAndZeigenWipesThem)
{
    f->steine();
    f->ballx = 300;
    f->bally = 400;
    f->ballhin();
    f->maushin();
    ASSERT_EQ(resources::ball2()->pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(feld().pixel(300, 400), f->p->pixel(300, 400));
    EXPECT_NE(feld().pixel(315, 415), f->p->pixel(315, 415)); // the disc itself
    if (resources::maus2()->pixel(0, 0) == 0xFFFFFFu) {
        EXPECT_EQ(feld().pixel(f->mausx, f->mausy), f->p->pixel(f->mausx, f->mausy));
    }
    f->zeigen();
    EXPECT_TRUE(feldShowsBoard(300, 400, 30, 30));
    EXPECT_TRUE(feldShowsBoard(200, 655, 100, 25));
    // Erasing the ball over a stone restores the stone.
    f->ballx = 100; // across the red stones 0 and 1 and the gap between
    f->bally = 20;
    f->ballhin();
    ASSERT_FALSE(feldShowsBoard(100, 20, 30, 30));
    EXPECT_EQ(feld().pixel(115, 35), f->ball->pixel(15, 15));
    f->ballweg();
    EXPECT_TRUE(feldShowsBoard(100, 20, 30, 30));
}

} // namespace
