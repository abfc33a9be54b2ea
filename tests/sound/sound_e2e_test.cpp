// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The sound heard through a private sound server, whose sink is recorded and
// held against the notes the game says it played: first the sound output in
// this process alone, through a server that never answers, then answers, dies
// and comes back; then the real game on a private X server.
#include "e2e_fixture.h"
#include "platform/sound/sound_output.h"
#include "pulse_server.h"

#include <fstream>

using namespace std::chrono_literals;

class SoundHeard : public GameOnScreen {
protected:
    // The game, when a test wants one, starts after the server.
    void SetUp() override
    {
        if (!sound::PulseServer::installed() || !support::GameSession::installed()) {
            GTEST_SKIP() << "no sound server or no X server for the sound tests: pulseaudio or Xvfb is not installed";
        }
        ASSERT_TRUE(server.start()) << server.log();
        // For the output in this process, and for the game, which inherits them.
        setenv("PULSE_SERVER", server.address().c_str(), 1);
        setenv("ZINDRA_NOTE_LOG", logPath_.c_str(), 1);
        session.runUnder(sound::withoutRealTime());
    }
    // A failure shows the note log too: which slot the thread got, each
    // underrun's story. On standard output: a case may fail while it holds
    // standard error captured.
    void TearDown() override
    {
        GameOnScreen::TearDown();
        if (HasFailure()) {
            std::cout << "the note log:\n" << std::ifstream(logPath_).rdbuf() << std::endl;
        }
    }
    [[nodiscard]] sound::NoteLogEntries notes() const { return sound::readNoteLog(logPath_); }
    [[nodiscard]] bool waitFor(const char* what, int count, double timeoutMs)
    {
        return session.waitFor([&] { return notes().count[what] >= count; }, timeoutMs);
    }

    sound::PulseServer server;
    const std::string logPath_ = server.dir() + "/notes.log";
};

TEST_F(SoundHeard, TheOutputIsHeardOnTimeAfterEveryRestWheneverAServerAnswersAndSaysEachLossOnce)
{
    // Note-on to its onset in the recording: the latency the output asks for,
    // and some for the recording's clock.
    constexpr double kBoundMs = 60;
    server.pause(true);
    testing::internal::CaptureStderr();
    platform::SoundOutput output({});
    const auto play = [&] {
        output.programChange(13);
        output.noteOn(60, 127);
    };

    // A server that never answers counts as none: the note is dropped, or it
    // would sound late when one does.
    ASSERT_TRUE(waitFor("lost", 1, 10'000)) << "a silent server taken for one";
    play();
    EXPECT_EQ(notes().count["dropped"], 1);
    EXPECT_TRUE(notes().notes.empty()) << "the dropped note was played all the same";
    server.pause(false);
    ASSERT_TRUE(waitFor("connected", 1, 5'000));
    EXPECT_EQ(notes().rate, sound::Recording::kSampleRate);

    // The stream rests until the first note and after each. A note after a
    // rest, and one the moment the stream rests, is heard on time; nothing
    // sounds that was not played.
    ASSERT_TRUE(server.record());
    const std::int64_t from = sound::nowUs();
    for (const auto pause : { 300ms, 300ms, 0ms }) {
        std::this_thread::sleep_for(pause);
        play();
        ASSERT_TRUE(session.waitFor(
            [&, rests = notes().count["rest"]] { return notes().count["rest"] > rests; }, 8'000))
            << "the stream never rests";
    }
    const auto heard = sound::hear(notes(), server.stopRecording(), from, sound::nowUs(), kBoundMs);
    EXPECT_EQ(heard.afterRestMs.size(), 3u) << heard.story;
    EXPECT_EQ(heard.unheard + heard.unexplained + heard.dropouts, 0) << heard.story;

    // It dies and comes back.
    server.kill();
    ASSERT_TRUE(waitFor("lost", 2, 5'000));
    ASSERT_TRUE(server.start()) << server.log();
    ASSERT_TRUE(waitFor("connected", 2, 5'000));
    const std::string said = testing::internal::GetCapturedStderr();
    for (const char* once : { "no sound device", "went away", "server is back" }) {
        EXPECT_TRUE(said.find(once) != std::string::npos && said.find(once) == said.rfind(once)) << said;
    }
}

TEST_F(SoundHeard, EveryNoteOfAGameIsHeardOnTimeAndNothingElseWithoutADropout)
{
    constexpr int kLaunchX = 300; // board x of the pointer: the ball goes straight up
    // The tests run on machines far busier than a player's: they ask for a
    // longer buffer than the game's own, so that a dropout they see is a
    // fault; the bound is that and some for the recording's clock.
    session.setEnvironment("ZINDRA_SOUND_LATENCY_MS=50");
    constexpr double kBoundMs = 70;
    // As on a player's desktop, the rendering thread's slot comes from the broker.
    const sound::RealTimeBroker broker;
    session.setEnvironment("DBUS_SYSTEM_BUS_ADDRESS=" + broker.address());
    ASSERT_NO_FATAL_FAILURE(start());
    session.clickNeu();
    session.moveTo(support::onBoard(kLaunchX, 640));
    ASSERT_TRUE(waitFor("connected", 1, 5'000));

    // A waiting ball is launched every second and a half for ten seconds.
    ASSERT_TRUE(server.record()) << server.log();
    const std::int64_t from = sound::nowUs();
    for (const double until = support::nowMs() + 10'000; support::nowMs() < until;) {
        session.clickAt(support::onBoard(kLaunchX, 640));
        session.pump(1500);
    }
    const auto heard = sound::hear(notes(), server.stopRecording(), from, sound::nowUs() - 100'000, kBoundMs);
    EXPECT_GE(heard.groups, 2) << "the game played too few notes to tell";
    EXPECT_EQ(heard.unheard + heard.unexplained + heard.dropouts, 0)
        << "late, unplayed, broken:" << heard.story;
    EXPECT_EQ(notes().count["dropped"], 0) << "notes lost while a server listened";
    EXPECT_TRUE(!broker.available() || notes().slot == "realtime 4 RealtimeKit") << notes().slot;

    session.clickQuit();
    EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
}
