// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Canvas surfaces: drawing stays, the backdrop wipes, a refresh restores an
// area from the backdrop and raises Paint; controls found by name and index;
// quitting once, and how failures that left a handler are said.
#include "platform/canvas.h"
#include "platform/globals.h"
#include "platform/picture.h"
#include "platform/static_controls.h"
#include "platform/widgets.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using platform::Canvas;

// Drawing stays until the backdrop, a shared picture, is set again; a refresh
// with erase restores its area from the backdrop, and every refresh raises
// Paint with the surface's graphics.
TEST(CanvasTest, DrawingStaysUntilTheBackdropIsSetAgainAndARefreshRestoresItsAreaAndRaisesPaint)
{
    platform::Window window;
    Canvas& canvas = window.add<Canvas>("feld", platform::kNoIndex);
    canvas.setBounds(20, 20, 60, 40);
    auto board = std::make_shared<platform::Picture>(60, 40);
    board->graphics().setForeColor(0x0000FF);
    board->graphics().fillRect(0, 0, 60, 40);
    canvas.setBackdrop(board);
    EXPECT_EQ(canvas.pixel(5, 5), 0x0000FFu);
    int paints = 0;
    canvas.onPaint = [&](platform::Graphics& g) {
        ++paints;
        EXPECT_EQ(&g, &canvas.graphics());
    };
    canvas.graphics().setForeColor(0xFF0000);
    canvas.graphics().fillRect(0, 0, 60, 40);
    EXPECT_EQ(canvas.pixel(5, 5), 0xFF0000u);
    // The picture is shared, not copied: a change shows where it is refreshed.
    board->graphics().setForeColor(0xFFFF00);
    board->graphics().fillRect(0, 0, 20, 20);
    canvas.refreshRect(10, 10, 5, 5, true);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(std::tuple(canvas.pixel(10, 10), canvas.pixel(14, 14)), std::tuple(0xFFFF00u, 0xFFFF00u));
    // outside the area
    EXPECT_EQ(std::tuple(canvas.pixel(15, 15), canvas.pixel(9, 9)), std::tuple(0xFF0000u, 0xFF0000u));
    canvas.refreshRect(0, 0, 60, 40, false); // no erase: Paint only
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(canvas.pixel(30, 30), 0xFF0000u);
    canvas.setBackdrop(board); // wipes what was drawn
    EXPECT_EQ(std::tuple(canvas.pixel(30, 30), canvas.pixel(5, 5)), std::tuple(0x0000FFu, 0xFFFF00u));
}

// Controls are found by name and index; a missing one raises the nil-object
// failure, which a dispatch or a refresh catches and reports, and goes on.
// Under the pointer a canvas is hit, a display-only control is not.
TEST(Controls, FoundByNameAndIndexAMissingOneRaisesTheFailureThatDispatchReportsAndACanvasIsHit)
{
    platform::Window window;
    window.add<platform::StaticText>("label", platform::kNoIndex).setBounds(0, 0, 100, 100);
    auto& single = window.add<Canvas>("feld", platform::kNoIndex);
    auto& second = window.add<Canvas>("noch", 1);
    auto& first = window.add<Canvas>("noch", 0);
    // Created later, so in front of the canvas.
    window.add<platform::GroupBox>("frame", platform::kNoIndex).setBounds(0, 0, 100, 100);
    EXPECT_EQ(&window.control<Canvas>("feld"), &single);
    EXPECT_EQ(&window.control<Canvas>("noch", 0), &first);
    EXPECT_EQ(&window.control<Canvas>("noch", 1), &second);
    EXPECT_THROW((void)window.control<Canvas>("noch", 4), platform::NilObjectError);
    EXPECT_THROW((void)window.control<platform::StaticText>("noch", 0), platform::NilObjectError);
    EXPECT_EQ(window.findControl("noch"), nullptr); // an element is not the single control

    const int before = platform::reportedFailures();
    bool after = false;
    platform::dispatch("test", [&] {
        (void)window.control<Canvas>("nichts");
        after = true;
    });
    EXPECT_FALSE(after); // the failure left the handler
    EXPECT_EQ(platform::reportedFailures(), before + 1);
    platform::dispatch("test", [&] { after = true; });
    EXPECT_TRUE(after);

    first.setBounds(0, 0, 10, 10);
    first.onPaint = [&](platform::Graphics&) { (void)window.control<Canvas>("missing"); };
    EXPECT_NO_THROW(first.refresh());
    EXPECT_EQ(platform::reportedFailures(), before + 2);

    single.setBounds(10, 10, 50, 50);
    QWidget& top = static_cast<QWidget&>(window.widget());
    EXPECT_EQ(top.childAt(30, 50), static_cast<QWidget*>(&single.widget()));
    EXPECT_EQ(top.childAt(80, 80), nullptr);
    EXPECT_TRUE(static_cast<QWidget&>(single.widget()).hasMouseTracking());
}

// Quitting twice ends once, with the first code; the same failure again is
// counted but said only at powers of ten.
TEST(Globals, QuitTwiceEndsOnceWithTheFirstCodeAndTheSameFailureIsSaidAtPowersOfTen)
{
    platform::resetQuit();
    EXPECT_FALSE(platform::quitRequested());
    platform::Quit(3);
    platform::Quit(0);
    EXPECT_EQ(std::pair(platform::quitRequested(), platform::quitCode()), std::pair(true, 3));
    platform::resetQuit();

    const int before = platform::reportedFailures();
    testing::internal::CaptureStderr();
    for (int i = 0; i < 250; ++i) {
        platform::reportFailure("Action", "picture maus2 is missing");
    }
    platform::reportFailure("Paint", "something else");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(platform::reportedFailures(), before + 251);
    EXPECT_EQ(said,
        "zindra: failure in Action: picture maus2 is missing\n"
        "zindra: the same failure 10 times\n"
        "zindra: the same failure 100 times\n"
        "zindra: failure in Paint: something else\n");
}
