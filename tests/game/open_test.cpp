// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window after Open (pictures made, no game yet) and a new game (a fresh
// set and score, the ball waiting, the level kept).
#include "game/game_fixture.h"
#include "resources/resources.h"

namespace {

using OpenTest = GameTest;

// Open makes two separate board pictures of the background and no game yet;
// neu, pressed twice in a row as once, restarts the game but keeps the level
// and the indicators.
TEST_F(OpenTest, LeavesNoGameYetAndNeuRestartsTheGameButKeepsLevelAndIndicators)
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
    // start, timer, the paddle at 200 and 730 - 75, s, w, z, level, ballzahl
    EXPECT_EQ(
        std::tuple(f->start, timer().enabled(), f->mausx, f->mausy, f->s, f->w, f->z, f->level, f->ballzahl),
        std::tuple(0, false, 200, 655, -1, 0, 0, 0, 0));
    // No stone, all four indicators and the digits 0000 the fuzz's rules and
    // the first frame hold.

    // A game in its third ball on the third level.
    f->neu_Action();
    f->level = 2;
    f->z = 130;
    f->ballzahl = 2;
    noch(1).setVisible(false);
    noch(2).setVisible(false);
    f->rt[0] = 0;
    f->w = 3;
    f->s = 4;
    f->start = 2;
    f->qq = 1;
    timer().setEnabled(true);

    f->neu_Action();
    f->neu_Action();

    // start, timer, z, ballzahl, w, s, the red stone 0, and the level and qq kept
    EXPECT_EQ(
        std::tuple(f->start, timer().enabled(), f->z, f->ballzahl, f->w, f->s, f->rt[0], f->level, f->qq),
        std::tuple(1, false, 0, 0, 0, -5, 9, 2, 1));
    EXPECT_EQ(indicators(), (std::vector<bool> { false, false, false, true }));
    EXPECT_EQ(digits(), "0000");
    const auto hinternis = resources::hinternis();
    const int mx = hinternis->width() / 2, my = hinternis->height() / 2;
    EXPECT_EQ(f->p->pixel(250 + mx, 400 + my), hinternis->pixel(mx, my)) << "the obstacle stays";
    EXPECT_EQ(f->p->pixel(9, 20), 0x663300u) << "the red stone 0 is back";
}

} // namespace
