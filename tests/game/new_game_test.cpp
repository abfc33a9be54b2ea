// A new game: a fresh set and score, the ball waiting, the level kept.
#include "game/game_fixture.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

#include <tuple>

namespace {

using NewGameTest = GameTest;

// Pressed twice in a row, as pressed once.
TEST_F(NewGameTest, NeuRestartsTheGameButKeepsLevelAndIndicators)
{
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

    EXPECT_EQ(f->start, 1);
    EXPECT_FALSE(timer().enabled());
    EXPECT_EQ(std::tuple(f->z, f->ballzahl, f->w, f->s, f->rt[0]), std::tuple(0, 0, 0, -5, 9));
    EXPECT_EQ(f->level, 2);
    EXPECT_EQ(f->qq, 1);
    EXPECT_EQ(indicators(), (std::vector<bool> { false, false, false, true }));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f->control<Knopf>("zahl", i).Text, "0");
    }
    const auto hinternis = resources::hinternis();
    const int mx = hinternis->width() / 2, my = hinternis->height() / 2;
    EXPECT_EQ(f->p->pixel(250 + mx, 400 + my), hinternis->pixel(mx, my)) << "the obstacle stays";
    EXPECT_EQ(f->p->pixel(9, 20), 0x663300u) << "the red stone 0 is back";
}

} // namespace
