// The window after Open: pictures made, no game yet.
#include "game/game_fixture.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

#include <tuple>

namespace {

using OpenTest = GameTest;

TEST_F(OpenTest, LeavesNoGameYet)
{
    EXPECT_FALSE(timer().enabled());
    // start, the paddle at 200 and 730 - 75, s, w, z, level, ballzahl
    EXPECT_EQ(std::tuple(f->start, f->mausx, f->mausy, f->s, f->w, f->z, f->level, f->ballzahl),
        std::tuple(0, 200, 655, -1, 0, 0, 0, 0));
    for (const auto* reihe : { &f->rt, &f->gn, &f->bl, &f->ge, &f->li }) {
        EXPECT_EQ(*reihe, Fenster1::Row {}); // no stone exists
    }
    EXPECT_EQ(indicators(), std::vector<bool>(4, true));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f->control<Knopf>("zahl", i).Text, "0");
    }
    // The board keeps its layout backdrop until the first new game.
    EXPECT_EQ(feld().backdrop(), resources::hintergrund().get());
}

TEST_F(OpenTest, MakesTwoSeparateBoardPicturesOfTheBackground)
{
    ASSERT_NE(f->p, nullptr);
    ASSERT_NE(f->p1, nullptr);
    EXPECT_NE(f->p.get(), f->p1.get());
    EXPECT_EQ(std::pair(f->p->width(), f->p->height()), std::pair(600, 690));
    const auto hintergrund = resources::hintergrund();
    for (auto [x, y] : { std::pair { 0, 0 }, { 300, 345 }, { 599, 689 } }) {
        EXPECT_EQ(f->p->pixel(x, y), hintergrund->pixel(x, y));
        EXPECT_EQ(f->p1->pixel(x, y), hintergrund->pixel(x, y));
    }
}

} // namespace
