// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The one window and the order of shutdown.
#include "app/app.h"
#include "game/fenster1.h"
#include "resources/resources.h"

#include <gtest/gtest.h>

TEST(Startup, TheAccessorMakesOneWindowHoweverOftenItIsCalled)
{
    ASSERT_FALSE(Fenster1Exists());
    Fenster1& first = Fenster1Instance();
    Fenster1& again = Fenster1Instance();
    EXPECT_EQ(&first, &again);
    EXPECT_TRUE(first.isVisible());
    releaseFenster1();
    EXPECT_FALSE(Fenster1Exists());
}

TEST(Shutdown, ReleasesThePicturesInOrderThenTheCursorThenTheWindow)
{
    Fenster1Instance(); // loads the pictures the window uses
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
