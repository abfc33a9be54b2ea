// The window after Open: pictures made, no game yet.
#include "game/game_fixture.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

namespace {

using OpenTest = GameTest;

TEST_F(OpenTest, LeavesNoGameYet)
{
    EXPECT_EQ(f->start, 0);
    EXPECT_FALSE(timer().enabled());
    for (const auto* reihe : { &f->rt, &f->gn, &f->bl, &f->ge, &f->li }) {
        EXPECT_EQ(*reihe, Fenster1::Row {}); // no stone exists
    }
    EXPECT_EQ(f->mausx, 200);
    EXPECT_EQ(f->mausy, 655); // 730 - 75
    EXPECT_EQ(f->s, -1);
    EXPECT_EQ(f->w, 0);
    EXPECT_EQ(f->z, 0);
    EXPECT_EQ(f->level, 0);
    EXPECT_EQ(f->ballzahl, 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(f->control<platform::RectControl>("noch", i).visible());
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
    EXPECT_EQ(f->p->width(), 600);
    EXPECT_EQ(f->p->height(), 690);
    const auto hintergrund = resources::hintergrund();
    for (auto [x, y] : { std::pair { 0, 0 }, { 300, 345 }, { 599, 689 } }) {
        EXPECT_EQ(f->p->pixel(x, y), hintergrund->pixel(x, y));
        EXPECT_EQ(f->p1->pixel(x, y), hintergrund->pixel(x, y));
    }
}

TEST_F(OpenTest, FramesEveryStonePictureOnAllFourSides)
{
    const std::pair<platform::Picture*, resources::PictureRef> stones[] = { { f->rt1.get(), resources::r1() },
        { f->gn1.get(), resources::g1() }, { f->bl1.get(), resources::b1() },
        { f->ge1.get(), resources::e1() }, { f->li1.get(), resources::l1() } };
    for (const auto& [stein, quelle] : stones) {
        ASSERT_NE(stein, nullptr);
        ASSERT_EQ(stein->width(), 100);
        ASSERT_EQ(stein->height(), 30);
        for (auto [x, y] : { std::pair { 0, 15 }, { 99, 15 }, { 50, 0 }, { 50, 29 }, { 0, 0 }, { 99, 29 } }) {
            EXPECT_EQ(stein->pixel(x, y), 0x663300u) << x << "," << y;
        }
        // Inside the frame, the resource stone.
        EXPECT_EQ(stein->pixel(1, 1), quelle->pixel(1, 1));
        EXPECT_EQ(stein->pixel(50, 15), quelle->pixel(50, 15));
    }
}

} // namespace
