// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window as it opens: its own properties, the 28 controls in their
// order and groups, and the handlers that tie them to the game.
#include "game/game_fixture.h"
#include "platform/widgets.h"
#include "resources/resources.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace {

using WindowTest = GameTest;
using platform::kNoIndex;

// A fixed, frameless window; the 28 controls in the order they are made,
// each in its group: zahl 3 comes after Timer1 but stands rightmost. The
// window's size, backdrop and colour, and where the controls stand and how
// they look, the screen's reference frames pin.
TEST_F(WindowTest, IsAFixedFramelessWindowThatCreatesTheControlsInOrderEachInItsGroup)
{
    EXPECT_EQ(f->widget().minimumSize(), QSize(900, 730));
    EXPECT_EQ(f->widget().maximumSize(), QSize(900, 730));
    EXPECT_TRUE(f->widget().windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(f->widget().windowTitle().toStdString(), "Zindra          2008");
    std::string made;
    for (const auto& control : f->controls()) {
        const auto* shown = dynamic_cast<const platform::RectControl*>(control.get());
        made += " " + control->name()
            + (control->index() == kNoIndex ? "" : "(" + std::to_string(control->index()) + ")")
            + (shown != nullptr && shown->parentControl() != nullptr ? "/" + shown->parentControl()->name()
                                                                     : "");
    }
    EXPECT_EQ(made,
        " Rectangle1 feld/Rectangle1 GroupBox3 neu noch(0)/GroupBox3 noch(1)/GroupBox3 noch(2)/GroupBox3"
        " noch(3)/GroupBox3 GroupBox2 GroupBox1 st(0)/GroupBox1 st(1)/GroupBox1 st(2)/GroupBox1 "
        "st(3)/GroupBox1"
        " st(4)/GroupBox1 StaticText1(0)/GroupBox1 StaticText1(1)/GroupBox1 StaticText1(2)/GroupBox1"
        " StaticText1(3)/GroupBox1 StaticText1(4)/GroupBox1 zahl(0)/GroupBox2 zahl(1)/GroupBox2"
        " zahl(2)/GroupBox2 Timer1 zahl(3)/GroupBox2 NotePlayer1 StaticText2/GroupBox1 Knopf1");
    EXPECT_EQ(timer().mode(), 2);
    EXPECT_EQ(timer().period(), 4);
}

TEST_F(WindowTest, ControlEventsReachTheGame)
{
    // Those of neu, the board and the timer the screen's in-play frame shows.
    feld().onMouseEnter();
    EXPECT_EQ(f->mouseCursor(), resources::leerCursor().get());

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
