// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The sound heard through a private sound server, whose sink is recorded and
// held against the notes the game says it played: first the sound output in
// this process alone, through a server that never answers, then answers, dies
// and comes back; then the real game on a private X server.
#include "e2e_fixture.h"
#include "faults/scoped_environment.h"
#include "platform/sound/sound_output.h"
#include "pulse_server.h"

using namespace std::chrono_literals;

class SoundHeard : public GameOnScreen {
protected:
    // The game, when a test wants one, starts after the server.
    void SetUp() override
    {
        if (!sound::PulseServer::installed()) {
            GTEST_SKIP() << "no sound server for the sound tests: pulseaudio is not installed";
        }
        ASSERT_TRUE(server.start()) << server.log();
        session.runUnder(sound::withoutRealTime());
    }
    [[nodiscard]] sound::NoteLogEntries notes() const { return sound::readNoteLog(logPath_); }
    [[nodiscard]] bool waitFor(const char* what, int count, double timeoutMs)
    {
        return session.waitFor([&] { return notes().count[what] >= count; }, timeoutMs);
    }

    sound::PulseServer server;
    const std::string logPath_ = server.dir() + "/notes.log";
    const ScopedEnvironment address_ { "PULSE_SERVER", server.address().c_str() };
    const ScopedEnvironment log_ { "ZINDRA_NOTE_LOG", logPath_.c_str() };
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
        EXPECT_EQ(said.find(once), said.rfind(once)) << said;
        EXPECT_NE(said.find(once), std::string::npos) << said;
    }
}

TEST_F(SoundHeard, EveryNoteOfAGameIsHeardOnTimeAndNothingElseWithoutADropout)
{
    constexpr int kLaunchX = 300; // board x of the pointer: the ball goes straight up
    // The tests run on machines far busier than a player's: they ask for a
    // longer buffer than the game's own, so that a dropout they see is a
    // fault; the bound is that and some for the recording's clock.
    const ScopedEnvironment latency("ZINDRA_SOUND_LATENCY_MS", "50");
    constexpr double kBoundMs = 70;
    // As on a player's desktop, the rendering thread's slot comes from the broker.
    const sound::RealTimeBroker broker;
    session.setEnvironment("DBUS_SYSTEM_BUS_ADDRESS=" + broker.address());
    start();
    ASSERT_TRUE(waitForFirstPaint());
    session.clickNeu();
    session.moveOverBoard(kLaunchX, 640);
    ASSERT_TRUE(waitFor("connected", 1, 5'000));

    // A waiting ball is launched every second and a half for ten seconds.
    ASSERT_TRUE(server.record()) << server.log();
    const std::int64_t from = sound::nowUs();
    for (const double until = support::nowMs() + 10'000; support::nowMs() < until;) {
        session.clickOnBoard(kLaunchX, 640);
        (void)session.waitFor([] { return false; }, 1500);
    }
    const auto heard = sound::hear(notes(), server.stopRecording(), from, sound::nowUs() - 100'000, kBoundMs);
    EXPECT_GE(heard.groups, 2) << "the game played too few notes to tell";
    EXPECT_EQ(heard.unheard, 0) << "notes not heard within " << kBoundMs << " ms:" << heard.story;
    EXPECT_EQ(heard.unexplained, 0) << "sounds the game did not play just then:" << heard.story;
    EXPECT_EQ(heard.dropouts, 0) << heard.story;
    EXPECT_EQ(notes().count["dropped"], 0) << "notes lost while a server listened";
    if (broker.available()) {
        EXPECT_EQ(notes().slot, "realtime 4 RealtimeKit");
    }

    session.clickQuit();
    EXPECT_EQ(session.waitForExit(10'000), 0) << session.error();
}
