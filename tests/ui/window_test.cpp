// The window as it opens: its own properties, the 28 controls with their
// classes and places, and the handlers that tie them to the game.
#include "game/game_fixture.h"
#include "platform/static_controls.h"
#include "platform/widgets.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"
#include "ui/window/control_arrays.h"

#include <array>
#include <string>

namespace {

using WindowTest = GameTest;
using platform::kNoIndex;

struct Placed {
    const char* name;
    int index;
    const char* parent; // "" for the window
    int left, top, width, height; // width 0: not on screen
};

// Creation order. zahl 3 comes after Timer1 but stands rightmost.
constexpr std::array<Placed, 28> kLayout = { {
    { "Rectangle1", kNoIndex, "", 10, 10, 620, 710 },
    { "feld", kNoIndex, "Rectangle1", 20, 20, 600, 690 },
    { "GroupBox3", kNoIndex, "", 676, 449, 173, 67 },
    { "neu", kNoIndex, "", 761, 656, 100, 40 },
    { "noch", 0, "GroupBox3", 687, 469, 30, 30 },
    { "noch", 1, "GroupBox3", 727, 469, 30, 30 },
    { "noch", 2, "GroupBox3", 768, 469, 30, 30 },
    { "noch", 3, "GroupBox3", 807, 469, 30, 30 },
    { "GroupBox2", kNoIndex, "", 672, 320, 179, 100 },
    { "GroupBox1", kNoIndex, "", 669, 35, 182, 254 },
    { "st", 0, "GroupBox1", 684, 71, 100, 30 },
    { "st", 1, "GroupBox1", 685, 113, 100, 30 },
    { "st", 2, "GroupBox1", 685, 155, 100, 30 },
    { "st", 3, "GroupBox1", 685, 200, 100, 30 },
    { "st", 4, "GroupBox1", 685, 243, 100, 30 },
    { "StaticText1", 0, "GroupBox1", 795, 72, 40, 30 },
    { "StaticText1", 1, "GroupBox1", 795, 113, 40, 30 },
    { "StaticText1", 2, "GroupBox1", 795, 155, 40, 30 },
    { "StaticText1", 3, "GroupBox1", 795, 197, 40, 30 },
    { "StaticText1", 4, "GroupBox1", 795, 243, 40, 30 },
    { "zahl", 0, "GroupBox2", 701, 340, 30, 60 },
    { "zahl", 1, "GroupBox2", 731, 340, 30, 60 },
    { "zahl", 2, "GroupBox2", 761, 340, 30, 60 },
    { "Timer1", kNoIndex, "", 0, 0, 0, 0 },
    { "zahl", 3, "GroupBox2", 791, 340, 30, 60 },
    { "NotePlayer1", kNoIndex, "", 0, 0, 0, 0 },
    { "StaticText2", kNoIndex, "GroupBox1", 684, 46, 100, 20 },
    { "Knopf1", kNoIndex, "", 868, 7, 20, 20 },
} };

TEST_F(WindowTest, IsAFixedFramelessWindowOnItsBackdrop)
{
    EXPECT_EQ(f->Width(), 900);
    EXPECT_EQ(f->Height(), 730);
    EXPECT_EQ(f->widget().minimumSize(), QSize(900, 730));
    EXPECT_EQ(f->widget().maximumSize(), QSize(900, 730));
    EXPECT_TRUE(f->widget().windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(f->widget().windowTitle().toStdString(), "Zindra          2008");
    EXPECT_EQ(f->backdrop(), resources::Hintergrund2().get());
    EXPECT_EQ(f->BackColor(), 0xFFCC99u);
}

TEST_F(WindowTest, CreatesTheControlsInOrderWithIndicesParentsAndPlaces)
{
    const auto& controls = f->controls();
    ASSERT_EQ(controls.size(), kLayout.size());
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        const Placed& want = kLayout.at(i);
        SCOPED_TRACE(std::string(want.name) + " #" + std::to_string(i + 1));
        const platform::Control& got = *controls.at(i);
        EXPECT_EQ(got.name(), want.name);
        EXPECT_EQ(got.index(), want.index);
        const auto* shown = dynamic_cast<const platform::RectControl*>(&got);
        ASSERT_EQ(shown != nullptr, want.width != 0);
        if (shown == nullptr) {
            continue;
        }
        EXPECT_EQ(shown->left(), want.left);
        EXPECT_EQ(shown->top(), want.top);
        EXPECT_EQ(shown->width(), want.width);
        EXPECT_EQ(shown->height(), want.height);
        const std::string parent = shown->parentControl() ? shown->parentControl()->name() : "";
        EXPECT_EQ(parent, want.parent);
    }
}

TEST_F(WindowTest, ArraysHaveTheirOwnClassesAndSinglesThePlainOnes)
{
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(dynamic_cast<Fenster1Noch*>(f->findControl("noch", i)), nullptr);
        EXPECT_NE(dynamic_cast<Fenster1Zahl*>(f->findControl("zahl", i)), nullptr);
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(dynamic_cast<Fenster1St*>(f->findControl("st", i)), nullptr);
        EXPECT_NE(dynamic_cast<Fenster1StaticText1*>(f->findControl("StaticText1", i)), nullptr);
    }
    auto* timer1 = dynamic_cast<Fenster1Timer1*>(f->findControl("Timer1"));
    ASSERT_NE(timer1, nullptr);
    EXPECT_EQ(timer1->ownerWindow, f.get());
    EXPECT_EQ(timer1->mode(), 2);
    EXPECT_EQ(timer1->period(), 4);
    EXPECT_NE(dynamic_cast<Knopf*>(f->findControl("neu")), nullptr);
    EXPECT_NE(dynamic_cast<Knopf*>(f->findControl("Knopf1")), nullptr);
}

TEST_F(WindowTest, Rectangle1IsABevelledFrameAroundTheBoard)
{
    const auto& frame = f->control<platform::RectControl>("Rectangle1");
    const platform::Color light = 0x663300, dark = 0x996633, fill = 0x432100;
    // The middle of each side, at the outer edge and at the border's last pixel.
    EXPECT_EQ(frame.pixel(310, 0), light);
    EXPECT_EQ(frame.pixel(310, 6), light);
    EXPECT_EQ(frame.pixel(0, 355), light);
    EXPECT_EQ(frame.pixel(6, 355), light);
    EXPECT_EQ(frame.pixel(310, 709), dark);
    EXPECT_EQ(frame.pixel(310, 703), dark);
    EXPECT_EQ(frame.pixel(619, 355), dark);
    EXPECT_EQ(frame.pixel(613, 355), dark);
    // Seven pixels in, the fill begins.
    EXPECT_EQ(frame.pixel(310, 7), fill);
    EXPECT_EQ(frame.pixel(7, 355), fill);
    EXPECT_EQ(frame.pixel(612, 355), fill);
    EXPECT_EQ(frame.pixel(310, 702), fill);
}

TEST_F(WindowTest, ControlEventsReachTheGame)
{
    pointerOverBoardX(250);
    auto& board = feld();
    board.onMouseEnter();
    EXPECT_EQ(f->mouseCursor(), resources::leerCursor().get());

    f->control<Knopf>("neu").Action();
    EXPECT_EQ(f->start, 1);
    board.onMouseMove(300, 0);
    EXPECT_EQ(f->mausx, 250);
    EXPECT_FALSE(board.onMouseDown(300, 0));
    EXPECT_EQ(f->start, 2);

    timer().onAction();
    EXPECT_EQ(f->bally, 600 - 5);

    auto& sample = f->control<platform::Canvas>("st", 3);
    sample.refresh();
    EXPECT_EQ(sample.pixel(0, 0), 0x663300u);
    EXPECT_EQ(sample.pixel(99, 29), 0x663300u);

    f->control<Knopf>("Knopf1").Action();
    EXPECT_TRUE(platform::quitRequested());
    EXPECT_EQ(platform::quitCode(), 0);
}

} // namespace
