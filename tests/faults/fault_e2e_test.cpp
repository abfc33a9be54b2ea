// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The real game on a private X server, in the faults a desktop can throw at
// it: no SoundFont, no sound module, no sound device, a window manager that
// moves its window.
#include "e2e_fixture.h"
#include "scoped_environment.h"
#include "game/board.h"

#include <QTemporaryDir>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

using namespace std::chrono_literals;

namespace {

constexpr int kWindowTop = 20; // where every paint puts the window
constexpr int kPaddleRow = board::kPaddleBandTop + 12; // a row through the paddle's middle

} // namespace

// Starts the game in an environment that the test sets first.
class FaultOnScreen : public GameOnScreen {
protected:
    void SetUp() override { }

    // The game says once why it is silent, plays a ball into the stones, and
    // still ends normally.
    void expectSilentButPlaying(const QString& reason)
    {
        launchUnderFirstStone();
        EXPECT_TRUE(session.waitFor([&] { return !firstStoneStands(); }, 10'000)) << "the ball never reached the stones";
        // The silence is said when the sound would first be needed, which a
        // quick player can come before.
        (void)session.waitFor([&] { return session.gameOutput().contains(reason); }, 5'000);
        const QString output = session.gameOutput();
        EXPECT_EQ(output.count(reason), 1) << output.toStdString();
        EXPECT_EQ(output.count(QStringLiteral("zindra:")), 1) << output.toStdString();
        session.clickQuit();
        EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
    }

    // The middle of the paddle on the screen, in board x: the middle of the
    // longest run of the paddle row that does not show the background.
    [[nodiscard]] std::optional<int> paddleMiddle()
    {
        const QImage shot = session.windowShot();
        if (shot.isNull()) {
            return std::nullopt;
        }
        const auto background = resources::hintergrund();
        int bestStart = -1;
        int bestLength = 0;
        int runStart = -1;
        for (int x = 0; x <= 600; ++x) {
            const bool figure = x < 600
                && !alike(
                    shot.pixel(layout::kBoard.left + x, layout::kBoard.top + kPaddleRow), background->pixel(x, kPaddleRow), 8);
            if (figure && runStart < 0) {
                runStart = x;
            } else if (!figure && runStart >= 0) {
                if (x - runStart > bestLength) {
                    bestStart = runStart;
                    bestLength = x - runStart;
                }
                runStart = -1;
            }
        }
        if (bestLength < 50) {
            return std::nullopt;
        }
        return bestStart + bestLength / 2;
    }
};

TEST_F(FaultOnScreen, WithoutASoundFontItSaysSoOnceAndPlaysOn)
{
    const ScopedEnvironment soundFont("ZINDRA_SOUNDFONT", "/nonexistent.sf2");
    start();
    expectSilentButPlaying(QStringLiteral("no General MIDI SoundFont found"));
}

TEST_F(FaultOnScreen, WithoutTheSoundModuleItSaysSoOnceAndPlaysOn)
{
    const ScopedEnvironment module("ZINDRA_SOUND_MODULE", "/nonexistent/zindra_sound.so");
    start();
    expectSilentButPlaying(QStringLiteral("the sound module could not be loaded"));
}

TEST_F(FaultOnScreen, WithoutASoundDeviceItSaysSoOnceAndPlaysOn)
{
    if (std::filesystem::exists("/dev/snd")) {
        GTEST_SKIP() << "this machine has a sound card; the test needs one without";
    }
    QTemporaryDir noSockets;
    ASSERT_TRUE(noSockets.isValid());
    const ScopedEnvironment noServer("PULSE_SERVER", nullptr);
    const ScopedEnvironment runtime("XDG_RUNTIME_DIR", noSockets.path().toLocal8Bit().constData());
    start();
    expectSilentButPlaying(QStringLiteral("no sound device"));
}

TEST_F(FaultOnScreen, AWindowMovedByTheWindowManagerKeepsThePaddleUnderThePointerAndComesBackToTheTop)
{
    start();
    ASSERT_TRUE(session.waitFor([&] { return session.geometry().y == kWindowTop; }, 10'000));
    launchUnderFirstStone();
    ASSERT_FALSE(HasFatalFailure());

    const int movedLeft = session.geometry().x - 90;
    session.moveWindow(movedLeft, 200); // as a window manager does
    ASSERT_FALSE(HasFatalFailure());
    // The move alone paints nothing; the game's own drawing does (a struck
    // stone's digits, a lost ball's indicator), and a click on the board
    // launches a waiting ball to make sure there is some.
    session.clickOnBoard(300, 640);
    EXPECT_TRUE(session.waitFor([&] { return session.geometry().y == kWindowTop; }, 15'000))
        << "the window stayed at " << session.geometry().y;
    EXPECT_EQ(session.geometry().x, movedLeft) << "the game moved its window sideways";

    // The paddle follows the pointer measured from where the window now is.
    constexpr int kPointerX = 150;
    session.moveOverBoard(kPointerX, 640);
    std::optional<int> middle;
    EXPECT_TRUE(session.waitFor(
        [&] {
            session.moveOverBoard(kPointerX, 640);
            middle = paddleMiddle();
            return middle && std::abs(*middle - kPointerX) <= 2;
        },
        10'000))
        << "the paddle's middle is at " << middle.value_or(-1) << ", the pointer at " << kPointerX;

    session.clickQuit();
    EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
}
