// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The one window and the order of shutdown.
#include "app/app.h"
#include "game/fenster1.h"
#include "resources/resources.h"

#include <gtest/gtest.h>

// The accessor makes one window however often it is called; shutdown
// releases the pictures in order, then the cursor, then the window, once.
TEST(Shutdown, ReleasesThePicturesInOrderThenTheCursorThenTheOneWindow)
{
    ASSERT_FALSE(Fenster1Exists());
    Fenster1& window = Fenster1Instance(); // loads the pictures the window uses
    EXPECT_EQ(&Fenster1Instance(), &window);
    EXPECT_TRUE(window.isVisible());
    (void)resources::m1();
    (void)resources::hinternis();
    (void)resources::maus2();
    (void)resources::leerCursor();
    const std::vector<std::string> released = startup::releaseEverything();
    const std::vector<std::string> expected = { "ball2", "hintergrund", "Hintergrund2", "hinternis", "m1",
        "maus2", "b1", "e1", "g1", "l1", "r1", "leerCursor", "Fenster1" };
    EXPECT_EQ(released, expected);
    EXPECT_FALSE(Fenster1Exists());
    EXPECT_TRUE(startup::releaseEverything().empty()); // nothing twice
}
