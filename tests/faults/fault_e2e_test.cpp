// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The real game on a private X server, in the faults a desktop can throw at
// it: no SoundFont, no sound module, no sound device, a window manager that
// moves its window.
#include "e2e_fixture.h"
#include "game/board.h"

#include <filesystem>

// The game started without something its sound needs.
class SilentOnScreen : public GameOnScreen {
protected:
    void SetUp() override { }

    // With the settings in its environment the game says once why it is
    // silent, plays a ball into the stones, and still ends normally.
    void expectSilentButPlaying(const std::vector<std::string>& settings, const QString& reason)
    {
        for (const std::string& setting : settings) {
            session.setEnvironment(setting);
        }
        start();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
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
};

TEST_F(SilentOnScreen, WithoutASoundFontItSaysSoOnceAndPlaysOn)
{
    expectSilentButPlaying({ "ZINDRA_SOUNDFONT=/nonexistent.sf2" }, QStringLiteral("no General MIDI SoundFont found"));
}

TEST_F(SilentOnScreen, WithoutTheSoundModuleItSaysSoOnceAndPlaysOn)
{
    expectSilentButPlaying(
        { "ZINDRA_SOUND_MODULE=/nonexistent/zindra_sound.so" }, QStringLiteral("the sound module could not be loaded"));
}

TEST_F(SilentOnScreen, WithoutASoundDeviceItSaysSoOnceAndPlaysOn)
{
    if (std::filesystem::exists("/dev/snd")) {
        GTEST_SKIP() << "this machine has a sound card; the test needs one without";
    }
    expectSilentButPlaying({ "PULSE_SERVER", "XDG_RUNTIME_DIR=/nonexistent" }, QStringLiteral("no sound device"));
}

// The paddle follows the pointer measured from where the window now is.
TEST_F(GameOnScreen, AWindowMovedByTheWindowManagerKeepsThePaddleUnderThePointerAndComesBackToTheTop)
{
    waitForRest();
    launchUnderFirstStone();
    ASSERT_FALSE(HasFatalFailure());

    const int movedLeft = session.geometry().x() - 90;
    session.moveWindow(movedLeft, 200); // as a window manager does
    // The move alone paints nothing; the game's own drawing does (a struck
    // stone's digits, a lost ball's indicator), and a click on the board
    // launches a waiting ball to make sure there is some.
    session.clickAt(support::onBoard(300, 640));
    EXPECT_TRUE(session.waitFor([&] { return session.geometry().y() == kWindowTop; }, 15'000))
        << "the window stayed at " << session.geometry().y();
    EXPECT_EQ(session.geometry().x(), movedLeft) << "the game moved its window sideways";

    // The paddle's middle: that of the stretch of a row through the paddle
    // that does not show the board's background.
    constexpr int kPointerX = 150;
    constexpr int kPaddleRow = board::kPaddleBandTop + 12;
    int middle = -1;
    EXPECT_TRUE(session.waitFor(
        [&] {
            session.moveTo(support::onBoard(kPointerX, 640));
            const QImage shot = session.windowShot();
            int left = 600;
            int right = -1;
            for (int x = 0; x < 600 && !shot.isNull(); ++x) {
                if (!alike(shot.pixel(support::onBoard(x, kPaddleRow)),
                        resources::hintergrund()->pixel(x, kPaddleRow), 8)) {
                    left = std::min(left, x);
                    right = x;
                }
            }
            middle = right - left >= 50 ? (left + right + 1) / 2 : -1;
            return std::abs(middle - kPointerX) <= 2;
        },
        10'000))
        << "the paddle's middle is at " << middle << ", the pointer at " << kPointerX;

    session.clickQuit();
    EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
}
