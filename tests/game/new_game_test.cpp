// A new game, the space bar, the window's paint and quitting.
#include "game/game_fixture.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"

namespace {

using NewGameTest = GameTest;

[[nodiscard]] platform::RectControl& noch(const Fenster1& f, int i)
{
    return f.control<platform::RectControl>("noch", i);
}

// A game in its third ball on the third level.
void midGame(Fenster1& f)
{
    f.neu_Action();
    f.level = 2;
    f.z = 130;
    f.ballzahl = 2;
    noch(f, 1).setVisible(false);
    noch(f, 2).setVisible(false);
    f.rt[0] = 0;
    f.w = 3;
    f.s = 4;
    f.start = 2;
    f.qq = 1;
    f.control<platform::Timer>("Timer1").setEnabled(true);
}

// Pressed twice in a row, as pressed once.
TEST_F(NewGameTest, NeuRestartsTheGameButKeepsLevelAndIndicators)
{
    midGame(*f);
    f->neu_Action();
    f->neu_Action();
    EXPECT_EQ(f->start, 1);
    EXPECT_FALSE(timer().enabled());
    EXPECT_EQ(f->z, 0);
    EXPECT_EQ(f->ballzahl, 0);
    EXPECT_EQ(f->w, 0);
    EXPECT_EQ(f->s, -5);
    EXPECT_EQ(f->rt[0], 9);
    EXPECT_EQ(f->level, 2);
    EXPECT_EQ(f->qq, 1);
    EXPECT_FALSE(noch(*f, 0).visible());
    EXPECT_FALSE(noch(*f, 1).visible());
    EXPECT_FALSE(noch(*f, 2).visible());
    EXPECT_TRUE(noch(*f, 3).visible());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(f->control<Knopf>("zahl", i).Text, "0");
    }
    const auto hinternis = resources::hinternis();
    const int mx = hinternis->width() / 2, my = hinternis->height() / 2;
    EXPECT_EQ(f->p->pixel(250 + mx, 400 + my), hinternis->pixel(mx, my)) << "the obstacle stays";
    EXPECT_EQ(f->p->pixel(9, 20), 0x663300u) << "the red stone 0 is back";
}

TEST_F(NewGameTest, SpaceBarAloneTogglesTheTimerInEveryPhase)
{
    for (const char* key : { "a", "  ", "", "\x1b" }) {
        EXPECT_FALSE(f->Event_KeyDown(key));
        EXPECT_FALSE(timer().enabled()) << '"' << key << '"';
        EXPECT_EQ(f->qq, 0);
    }
    for (int phase : { 0, 1, 2, 3 }) {
        f->start = phase;
        EXPECT_FALSE(f->Event_KeyDown(" "));
        EXPECT_TRUE(timer().enabled()) << "phase " << phase;
        EXPECT_EQ(f->qq, 1);
        EXPECT_FALSE(f->Event_KeyDown(" "));
        EXPECT_FALSE(timer().enabled()) << "phase " << phase;
        EXPECT_EQ(f->qq, 0);
        EXPECT_EQ(f->start, phase);
    }
}

TEST_F(NewGameTest, PaintPutsTheWindowBackAtTop20)
{
    const int left = f->Left();
    f->setTop(300);
    ASSERT_EQ(f->Top(), 300);
    platform::Picture scratch(1, 1);
    f->Event_Paint(scratch.graphics());
    EXPECT_EQ(f->Top(), 20);
    EXPECT_EQ(f->Left(), left);
}

TEST_F(NewGameTest, ClosingTheWindowQuitsWithCode0)
{
    f->Event_Close();
    EXPECT_TRUE(platform::quitRequested());
    EXPECT_EQ(platform::quitCode(), 0);
}

} // namespace
