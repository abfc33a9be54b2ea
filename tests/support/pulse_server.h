// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A private PulseAudio server with one null sink at 48 kHz, as most desktops
// run, for the tests and the sound measurement: what the game plays there is
// recorded from the sink's monitor with the time of every sample, and held
// against the game's log of the notes it played (ZINDRA_NOTE_LOG).
#pragma once

#include "child_process.h"

#include <QTemporaryDir>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace sound {

// As a player runs the game: without the capability to make its threads
// real-time, which root has; a player's real-time slot comes from the
// desktop's broker, if at all. The command to run it under (nothing when
// this is no root).
[[nodiscard]] inline std::vector<std::string> withoutRealTime()
{
    return geteuid() == 0
        ? std::vector<std::string> { "setpriv", "--bounding-set=-sys_nice", "--inh-caps=-sys_nice" }
        : std::vector<std::string> {};
}

// Microseconds on the monotonic clock, the one the game's note log uses.
[[nodiscard]] inline std::int64_t nowUs()
{
    return static_cast<std::int64_t>(support::nowMs() * 1000);
}

// The sink's monitor in mono: each frame's magnitude, and when the first played.
struct Recording {
    static constexpr int kSampleRate = 48000;
    std::vector<float> frames;
    std::int64_t startUs = INT64_MAX;
    [[nodiscard]] std::int64_t timeOf(std::size_t frame) const
    {
        return startUs + static_cast<std::int64_t>(frame) * 1'000'000 / kSampleRate;
    }
};

class PulseServer {
public:
    // Whether a server of our own can be started here at all.
    [[nodiscard]] static bool installed() { return support::onPath("pulseaudio"); }

    // realTimeMainThread: the server's main thread, which carries every
    // client's samples and requests, made real-time like its sink's thread
    // where we may (root); otherwise it runs at the desktop's default, a
    // raised nice level, where a busy machine can keep it from asking a
    // stream for samples in time.
    explicit PulseServer(bool realTimeMainThread = true)
        : realTimeMainThread_(realTimeMainThread)
    {
    }
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // Starts the server and waits until it takes connections; false when it
    // does not within a few seconds (its log says why).
    [[nodiscard]] bool start();
    // Ends it the hard way, as a crash does.
    void kill() { process_.kill(); }
    // Stopped, it takes connections and never answers; then it goes on.
    void pause(bool paused) const { ::kill(process_.pid(), paused ? SIGSTOP : SIGCONT); }

    // For the game's environment: PULSE_SERVER=<this>.
    [[nodiscard]] std::string address() const { return "unix:" + dir() + "/native"; }
    [[nodiscard]] std::string dir() const { return dir_.path().toStdString(); }
    [[nodiscard]] std::string log() const;

    // Records the sink's monitor on a thread of its own until stopped, or
    // until the server goes; returns once the first frames came, false when
    // the server does not let us record.
    [[nodiscard]] bool record();
    [[nodiscard]] Recording stopRecording();

private:
    bool realTimeMainThread_;
    QTemporaryDir dir_; // all of it lives here, removed at the end
    support::ChildProcess process_; // dies with the test, whatever happens
    std::thread recorder_;
    std::atomic<bool> stopping_ = false;
    Recording recording_;
};

// The desktop's real-time broker as a player's session has it: RealtimeKit on
// a system bus of our own, with the policy service it asks. Only root can
// start it (each runs as a user of its own), and only one RealtimeKit runs on
// a machine; without it the game renders at normal priority.
class RealTimeBroker {
public:
    RealTimeBroker();
    // True once both answer on the bus.
    [[nodiscard]] bool available() const { return available_; }
    // For the game's environment: DBUS_SYSTEM_BUS_ADDRESS=<this>.
    [[nodiscard]] std::string address() const { return "unix:path=" + dir_.path().toStdString() + "/bus"; }

private:
    QTemporaryDir dir_;
    support::ChildProcess bus_;
    support::ChildProcess policy_;
    support::ChildProcess rtkit_;
    bool available_ = false;
};

// What the game's note log says: its note-ons that reached a server, how
// often each other thing happened ("connected", "rest", "lost", "dropped",
// "underflow"), the last stream's sample rate, and what the rendering thread
// got in the scheduler.
struct NoteLogEntries {
    struct Note {
        std::int64_t us;
        bool afterRest; // played while the stream rested
    };
    std::vector<Note> notes;
    std::map<std::string, int> count;
    int rate = 0;
    std::string slot;
};
[[nodiscard]] NoteLogEntries readNoteLog(const std::string& path);

// The game's notes held against the recording. A note played within 100 ms
// of the one before sounds into its ringing, where no onset can be told
// apart: such a run of notes counts as one, heard at its first note's onset.
// That onset (a sharp rise out of quiet, or over what rang before) must come
// within the bound after the note, and no onset may come without a note.
// Dropouts are gaps of 16 or more exact-zero frames cutting into sound, which
// no note's end does.
struct Hearing {
    std::vector<double> inPlayMs; // note-on to onset, per group heard
    std::vector<double> afterRestMs; // the same for groups that woke the stream
    int groups = 0; // of notes, inside the recording
    int unheard = 0;
    int unexplained = 0; // onsets with no note before them
    int dropouts = 0; // in the whole recording
    std::string story; // every note and onset, ms from the start, for a failure's message
};
[[nodiscard]] Hearing hear(const NoteLogEntries& log, const Recording& recording, std::int64_t fromUs,
    std::int64_t toUs, double boundMs);

} // namespace sound
