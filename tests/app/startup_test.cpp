// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The one window, the platform asked for on a Wayland desktop, and the order
// of shutdown.
#include "app/app.h"
#include "game/fenster1.h"
#include "platform/application.h"
#include "resources/resources.h"

#include <QByteArray>
#include <gtest/gtest.h>

// On a Wayland desktop the game asks for X11, unless the user chose a platform
// (as the tests choose theirs).
TEST(Startup, APlatformTheUserChoseIsKeptOnWayland)
{
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("WAYLAND_DISPLAY", "wayland-0");
    qputenv("DISPLAY", ":0");
    platform::Runtime::preferX11OnWayland();
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), chosen);
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("DISPLAY", display);
}

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
