// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A private X server with the game started on it, fresh for every test. When
// a test fails, the screen is saved beside the test program and the game's
// output printed, for a human to look at.
#pragma once

#include "game_session.h"
#include "reference_frame.h"

#include "platform/globals.h"
#include "resources/resources.h"
#include "ui/window/layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

class GameOnScreen : public testing::Test {
protected:
    void SetUp() override { start(); }
    // A test that sets the game's environment first overrides SetUp and calls this.
    void start()
    {
        if (const std::string missing = support::GameSession::missingTools(); !missing.empty()) {
            GTEST_SKIP() << "no X session for the end-to-end tests: " << missing;
        }
        ASSERT_TRUE(session.start()) << session.error() << "\n" << session.gameOutput().toStdString();
    }

    void TearDown() override
    {
        if (!HasFailure()) {
            return;
        }
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        const std::string path = std::string("e2e-") + test->test_suite_name() + "." + test->name() + ".png";
        if (session.screenshot().save(QString::fromStdString(path), "PNG")) {
            std::cerr << "the screen at the failure: " << path << " beside the test program\n";
        }
        std::cerr << "the game's output:\n" << session.gameOutput().toStdString() << '\n';
    }

    // Waits until the window's content shows a first paint: its top-left
    // corner, which no control covers, in the window background's colour.
    [[nodiscard]] bool waitForFirstPaint()
    {
        const platform::Color corner = resources::Hintergrund2()->pixel(0, 0);
        return session.waitFor(
            [&] {
                const QImage shot = session.windowShot();
                return !shot.isNull() && alike(shot.pixel(0, 0), corner);
            },
            10'000);
    }

    // A new game, and the ball launched straight up from under board x 300
    // into the middle purple stone.
    void launchUnderFirstStone()
    {
        ASSERT_TRUE(waitForFirstPaint());
        session.clickNeu();
        ASSERT_TRUE(session.waitFor([&] { return firstStoneStands(); }, 10'000)) << "no stones";
        session.moveOverBoard(290, 640);
        session.moveOverBoard(300, 640);
        session.clickOnBoard(300, 640);
    }
    [[nodiscard]] bool firstStoneStands()
    {
        const QImage shot = session.windowShot();
        return !shot.isNull()
            && alike(shot.pixel(layout::kBoard.left + 273, layout::kBoard.top + 160), resources::l1()->pixel(50, 15), 6);
    }

    // Waits until the window on screen is the pinned frame `name` (taken at
    // the surface scale in force), each channel within a step or two.
    void expectPinnedFrame(const std::string& name, int scale)
    {
        const QImage reference = referenceFrame(name, scale);
        QImage shot;
        int differing = -1;
        const bool shown = session.waitFor(
            [&] {
                shot = session.windowShot();
                differing = shot.size() == reference.size() ? 0 : -1;
                for (int y = 0; differing >= 0 && y < shot.height(); ++y) {
                    for (int x = 0; x < shot.width(); ++x) {
                        differing += !alike(shot.pixel(x, y), reference.pixel(x, y) & 0xFFFFFF, 2);
                    }
                }
                return differing == 0;
            },
            10'000);
        EXPECT_TRUE(shown) << differing << " pixels differ from " << referencePath(name).toStdString();
        if (!shown) {
            shot.save(QString::fromStdString("e2e-" + name + ".png"));
        }
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
