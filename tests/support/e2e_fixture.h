// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A private X server with the game started on it, fresh for every test. When
// a test fails, the window is saved beside the test program and the game's
// output printed, for a human to look at.
#pragma once

#include "game_session.h"
#include "reference_frame.h"

#include "platform/globals.h"
#include "resources/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>

class GameOnScreen : public testing::Test {
protected:
    // Where every paint puts the window's top, in screen pixels.
    static constexpr int kWindowTop = 20;

    void SetUp() override { start(); }
    // A test that sets the game's environment first overrides SetUp and calls
    // this. Returns once the window shows a first paint: its top-left corner,
    // which no control covers, in the window background's colour.
    void start()
    {
        if (!support::GameSession::installed()) {
            GTEST_SKIP() << "no X session for the end-to-end tests: Xvfb is not installed";
        }
        ASSERT_TRUE(session.start()) << session.error() << "\n" << session.gameOutput().toStdString();
        const platform::Color corner = resources::Hintergrund2()->pixel(0, 0);
        ASSERT_TRUE(session.waitFor(
            [&] {
                const QImage shot = session.windowShot();
                return !shot.isNull() && alike(shot.pixel(0, 0), corner);
            },
            10'000))
            << "the window was never painted";
    }

    void TearDown() override
    {
        if (!HasFailure()) {
            return;
        }
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string path = std::string("e2e-") + test->test_suite_name() + "." + test->name() + ".png";
        std::replace(path.begin(), path.end(), '/', '-'); // a parameterised test's name holds some
        if (session.windowShot().save(QString::fromStdString(path), "PNG")) {
            std::cerr << "the window at the failure: " << path << " beside the test program\n";
        }
        std::cerr << "the game's output:\n" << session.gameOutput().toStdString() << '\n';
    }

    // Waits until the window has come to rest at the screen's top.
    void waitForRest()
    {
        ASSERT_TRUE(session.waitFor([&] { return session.geometry().y() == kWindowTop; }, 10'000))
            << "the window's top stays at " << session.geometry().y();
    }

    // A new game, and the ball launched straight up from under board x 300
    // into the middle purple stone.
    void launchUnderFirstStone()
    {
        session.clickNeu();
        ASSERT_TRUE(session.waitFor([&] { return firstStoneStands(); }, 10'000)) << "no stones";
        session.moveTo(support::onBoard(290, 640));
        session.clickAt(support::onBoard(300, 640));
    }
    [[nodiscard]] bool firstStoneStands()
    {
        const QImage shot = session.windowShot();
        return !shot.isNull()
            && alike(shot.pixel(support::onBoard(273, 160)), resources::l1()->pixel(50, 15), 6);
    }

    // Waits until the window on screen is the pinned frame `name` (taken at
    // the surface scale in force), each channel within a step or two; the
    // window at a failure is saved (TearDown) to hold against it.
    void expectPinnedFrame(const std::string& name, int scale)
    {
        const QImage reference = referenceFrame(name, scale);
        int differing = -1;
        EXPECT_TRUE(session.waitFor(
            [&] {
                const QImage shot = session.windowShot();
                differing = shot.size() == reference.size() ? 0 : -1;
                for (int y = 0; differing >= 0 && y < shot.height(); ++y) {
                    for (int x = 0; x < shot.width(); ++x) {
                        differing += !alike(shot.pixel(x, y), reference.pixel(x, y) & 0xFFFFFF, 2);
                    }
                }
                return differing == 0;
            },
            10'000))
            << differing << " pixels differ from " << referencePath(name).toStdString();
    }

    // A screen colour and a picture colour, equal within a few steps per channel.
    [[nodiscard]] static bool alike(QRgb screen, platform::Color expected, int tolerance = 3)
    {
        return std::abs(qRed(screen) - static_cast<int>((expected >> 16) & 0xFF)) <= tolerance
            && std::abs(qGreen(screen) - static_cast<int>((expected >> 8) & 0xFF)) <= tolerance
            && std::abs(qBlue(screen) - static_cast<int>(expected & 0xFF)) <= tolerance;
    }

    support::GameSession session;
};
