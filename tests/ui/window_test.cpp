// The window as it opens: its own properties, the 28 controls with their
// classes and places, and the handlers that tie them to the game.
#include "game/game_fixture.h"
#include "platform/static_controls.h"
#include "platform/widgets.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"
#include "ui/window/control_arrays.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include <array>
#include <string>
#include <tuple>
#include <typeinfo>

namespace {

using WindowTest = GameTest;
using platform::kNoIndex;

struct Placed {
    const char* name;
    int index;
    const std::type_info* type; // the control's own class, exactly
    const char* parent; // "" for the window
    int left, top, width, height; // width 0: not on screen
};

// Creation order. zahl 3 comes after Timer1 but stands rightmost.
const std::array<Placed, 28> kLayout = { {
    { "Rectangle1", kNoIndex, &typeid(platform::Rectangle), "", 10, 10, 620, 710 },
    { "feld", kNoIndex, &typeid(platform::Canvas), "Rectangle1", 20, 20, 600, 690 },
    { "GroupBox3", kNoIndex, &typeid(platform::GroupBox), "", 676, 449, 173, 67 },
    { "neu", kNoIndex, &typeid(Knopf), "", 761, 656, 100, 40 },
    { "noch", 0, &typeid(Fenster1Noch), "GroupBox3", 687, 469, 30, 30 },
    { "noch", 1, &typeid(Fenster1Noch), "GroupBox3", 727, 469, 30, 30 },
    { "noch", 2, &typeid(Fenster1Noch), "GroupBox3", 768, 469, 30, 30 },
    { "noch", 3, &typeid(Fenster1Noch), "GroupBox3", 807, 469, 30, 30 },
    { "GroupBox2", kNoIndex, &typeid(platform::GroupBox), "", 672, 320, 179, 100 },
    { "GroupBox1", kNoIndex, &typeid(platform::GroupBox), "", 669, 35, 182, 254 },
    { "st", 0, &typeid(Fenster1St), "GroupBox1", 684, 71, 100, 30 },
    { "st", 1, &typeid(Fenster1St), "GroupBox1", 685, 113, 100, 30 },
    { "st", 2, &typeid(Fenster1St), "GroupBox1", 685, 155, 100, 30 },
    { "st", 3, &typeid(Fenster1St), "GroupBox1", 685, 200, 100, 30 },
    { "st", 4, &typeid(Fenster1St), "GroupBox1", 685, 243, 100, 30 },
    { "StaticText1", 0, &typeid(Fenster1StaticText1), "GroupBox1", 795, 72, 40, 30 },
    { "StaticText1", 1, &typeid(Fenster1StaticText1), "GroupBox1", 795, 113, 40, 30 },
    { "StaticText1", 2, &typeid(Fenster1StaticText1), "GroupBox1", 795, 155, 40, 30 },
    { "StaticText1", 3, &typeid(Fenster1StaticText1), "GroupBox1", 795, 197, 40, 30 },
    { "StaticText1", 4, &typeid(Fenster1StaticText1), "GroupBox1", 795, 243, 40, 30 },
    { "zahl", 0, &typeid(Fenster1Zahl), "GroupBox2", 701, 340, 30, 60 },
    { "zahl", 1, &typeid(Fenster1Zahl), "GroupBox2", 731, 340, 30, 60 },
    { "zahl", 2, &typeid(Fenster1Zahl), "GroupBox2", 761, 340, 30, 60 },
    { "Timer1", kNoIndex, &typeid(Fenster1Timer1), "", 0, 0, 0, 0 },
    { "zahl", 3, &typeid(Fenster1Zahl), "GroupBox2", 791, 340, 30, 60 },
    { "NotePlayer1", kNoIndex, &typeid(platform::NotePlayer), "", 0, 0, 0, 0 },
    { "StaticText2", kNoIndex, &typeid(platform::StaticText), "GroupBox1", 684, 46, 100, 20 },
    { "Knopf1", kNoIndex, &typeid(Knopf), "", 868, 7, 20, 20 },
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

TEST_F(WindowTest, CreatesTheControlsInOrderWithClassesIndicesParentsAndPlaces)
{
    const auto& controls = f->controls();
    ASSERT_EQ(controls.size(), kLayout.size());
    for (std::size_t i = 0; i < kLayout.size(); ++i) {
        const Placed& want = kLayout.at(i);
        SCOPED_TRACE(std::string(want.name) + " #" + std::to_string(i + 1));
        const platform::Control& got = *controls.at(i);
        EXPECT_EQ(got.name(), want.name);
        EXPECT_EQ(got.index(), want.index);
        EXPECT_EQ(typeid(got), *want.type);
        const auto* shown = dynamic_cast<const platform::RectControl*>(&got);
        ASSERT_EQ(shown != nullptr, want.width != 0);
        if (shown != nullptr) {
            EXPECT_EQ(std::tuple(shown->left(), shown->top(), shown->width(), shown->height()),
                std::tuple(want.left, want.top, want.width, want.height));
            EXPECT_EQ(shown->parentControl() ? shown->parentControl()->name() : "", want.parent);
        }
    }
    EXPECT_EQ(timer().mode(), 2);
    EXPECT_EQ(timer().period(), 4);
}

TEST_F(WindowTest, Rectangle1IsABevelledFrameAroundTheBoard)
{
    const auto& frame = f->control<platform::RectControl>("Rectangle1");
    const platform::Color light = 0x663300, dark = 0x996633, fill = 0x432100;
    // The middle of each side at the outer edge and at the border's last
    // pixel, then seven pixels in, where the fill begins.
    for (const auto& [x, y, want] :
        { std::tuple { 310, 0, light }, { 310, 6, light }, { 0, 355, light }, { 6, 355, light },
            { 310, 709, dark }, { 310, 703, dark }, { 619, 355, dark }, { 613, 355, dark }, { 310, 7, fill },
            { 7, 355, fill }, { 612, 355, fill }, { 310, 702, fill } }) {
        EXPECT_EQ(frame.pixel(x, y), want) << x << "," << y;
    }
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

    // The quit button and closing the window each end the game with status 0.
    f->control<Knopf>("Knopf1").Action();
    EXPECT_EQ(std::pair(platform::quitRequested(), platform::quitCode()), std::pair(true, 0));
    platform::resetQuit();
    QCloseEvent close;
    QCoreApplication::sendEvent(&f->widget(), &close);
    EXPECT_EQ(std::pair(platform::quitRequested(), platform::quitCode()), std::pair(true, 0));
}

} // namespace
