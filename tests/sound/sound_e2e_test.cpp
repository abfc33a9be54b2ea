// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The real game on a private X server, heard through a private sound server:
// what leaves the server is recorded and held against the notes the game says
// it played, through the faults a desktop throws at it: a server that starts
// after the game, and one that dies in the middle of a game.
#include "e2e_fixture.h"
#include "faults/scoped_environment.h"
#include "pulse_server.h"

#include <QTemporaryDir>

#include <optional>

using namespace std::chrono_literals;

namespace {

constexpr int kLaunchX = 300; // board x of the pointer: the ball goes straight up
// The tests run on machines far busier than a player's, where the game's
// own buffer may run dry now and then (bench/sound.sh measures how often):
// they ask for a longer one, so that a dropout they see is a fault.
constexpr const char* kLatencyMs = "50";
// Note-on to its onset in the recording: the latency asked for, and some for
// the recording's clock.
constexpr double kBoundMs = 70;

} // namespace

class SoundOnScreen : public GameOnScreen {
protected:
    void SetUp() override
    {
        if (!sound::PulseServer::installed()) {
            GTEST_SKIP() << "no sound server for the sound tests: pulseaudio is not installed";
        }
        ASSERT_TRUE(logDir_.isValid());
    }

    // Keeps the game going: a waiting ball is launched every second and a half.
    void play(double ms)
    {
        const double until = support::nowMs() + ms;
        while (support::nowMs() < until) {
            session.clickOnBoard(kLaunchX, 640);
            (void)session.waitFor([] { return false; }, 1500);
        }
    }

    [[nodiscard]] sound::NoteLogEntries notes() const { return sound::readNoteLog(logPath()); }
    [[nodiscard]] std::string logPath() const { return logDir_.filePath("notes.log").toStdString(); }

    // Records while the game plays, then checks that every note sounded within
    // the bound, that nothing else did, and that the sound never broke off.
    void expectHeardAsPlayed(sound::PulseServer& server, double ms)
    {
        const int dropped = notes().dropped;
        sound::MonitorRecording recording(server.address());
        ASSERT_TRUE(recording.start()) << server.log();
        // The server settles its new recording's latency in the first moments.
        const std::int64_t from = sound::nowUs() + 1'000'000;
        play(ms);
        const std::int64_t to = sound::nowUs() - 100'000;
        recording.stop();
        const auto alignment = sound::align(notes().notes, recording, from, to, kBoundMs);
        EXPECT_GE(alignment.groups, 2) << "the game played too few notes to tell";
        EXPECT_EQ(alignment.matched, alignment.groups)
            << "notes not heard within " << kBoundMs << " ms:" << alignment.story;
        EXPECT_EQ(alignment.unexplained, 0) << "sounds the game did not play just then:" << alignment.story;
        EXPECT_EQ(sound::dropouts(recording.frames()), 0);
        EXPECT_EQ(notes().dropped, dropped) << "notes lost while a server listened";
    }

    [[nodiscard]] bool waitForStream(std::size_t streams)
    {
        return session.waitFor([&] { return notes().connected.size() >= streams; }, 3'000);
    }

    QTemporaryDir logDir_;
    const ScopedEnvironment latency_ { "ZINDRA_SOUND_LATENCY_MS", kLatencyMs };
};

// No server at the start, one that comes, dies in the middle of the game and
// comes back: the game says so once each time, plays on, and every note is
// heard on time whenever a server listens.
TEST_F(SoundOnScreen, EveryNoteIsHeardOnTimeWheneverAServerListens)
{
    sound::PulseServer server;
    const ScopedEnvironment address("PULSE_SERVER", server.address().c_str());
    const ScopedEnvironment log("ZINDRA_NOTE_LOG", logPath().c_str());
    GameOnScreen::SetUp();
    ASSERT_TRUE(waitForFirstPaint());
    session.clickNeu();
    session.moveOverBoard(kLaunchX, 640);
    play(2'000);
    EXPECT_EQ(session.gameOutput().count(QStringLiteral("no sound device")), 1)
        << session.gameOutput().toStdString();

    ASSERT_TRUE(server.start()) << server.log();
    ASSERT_TRUE(waitForStream(1)) << "no stream within 3 s of the server's start";
    expectHeardAsPlayed(server, 10'000);

    server.kill();
    const std::size_t before = notes().notes.size();
    play(3'000);
    EXPECT_EQ(notes().notes.size(), before) << "notes went to a server that is gone";
    EXPECT_GT(notes().dropped, 0) << "the game stopped playing";
    EXPECT_EQ(session.gameOutput().count(QStringLiteral("sound server went away")), 1)
        << session.gameOutput().toStdString();

    ASSERT_TRUE(server.start()) << server.log();
    ASSERT_TRUE(waitForStream(2)) << "no stream within 3 s of the server's return";
    expectHeardAsPlayed(server, 6'000);
    EXPECT_EQ(session.gameOutput().count(QStringLiteral("zindra:")), 3)
        << "nothing said but the two losses and the return: " << session.gameOutput().toStdString();

    session.clickQuit();
    EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
}
