// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A private PulseAudio server with one null sink, for the tests and the
// sound measurement: what the game plays there is recorded from the sink's
// monitor with the time of every sample, and held against the game's log of
// the notes it played (ZINDRA_NOTE_LOG).
#pragma once

#include "child_process.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sound {

// Microseconds on the monotonic clock, the one the game's note log uses.
[[nodiscard]] std::int64_t nowUs();

class PulseServer {
public:
    static constexpr int kSampleRate = 44100;

    // Whether a server of our own can be started here at all.
    [[nodiscard]] static bool installed();

    // Everything lives in a fresh private directory, removed at the end.
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    // Starts the server and waits until it takes connections; false when it
    // does not within a few seconds (its log says why).
    [[nodiscard]] bool start();
    // Ends it the hard way, as a crash does.
    void kill();

    // For the game's environment: PULSE_SERVER=<this>.
    [[nodiscard]] std::string address() const { return "unix:" + socket(); }
    [[nodiscard]] const std::string& dir() const { return dir_; }
    [[nodiscard]] std::string log() const;

private:
    [[nodiscard]] std::string socket() const { return dir_ + "/native"; }

    std::string dir_;
    support::ChildProcess process_; // dies with the test, whatever happens
};

// The sink's monitor, recorded on a thread of its own.
class MonitorRecording {
public:
    explicit MonitorRecording(std::string server);
    ~MonitorRecording();
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    // False when the server does not let us record.
    [[nodiscard]] bool start();
    void stop();

    // Once stopped: the loudest channel of each frame, and when the first
    // frame played (monotonic microseconds).
    [[nodiscard]] const std::vector<float>& frames() const { return frames_; }
    [[nodiscard]] std::int64_t startUs() const { return startUs_; }
    [[nodiscard]] std::int64_t timeOf(std::size_t frame) const
    {
        return startUs_ + static_cast<std::int64_t>(frame) * 1'000'000 / PulseServer::kSampleRate;
    }

private:
    void record();

    std::string server_;
    void* simple_ = nullptr; // pa_simple
    std::thread thread_;
    std::atomic<bool> stopping_ = false;
    std::vector<float> frames_;
    std::vector<std::int64_t> starts_; // each read's estimate of startUs_
    std::int64_t startUs_ = 0;
};

// What the game's note log says.
struct NoteLogEntries {
    std::vector<std::int64_t> notes; // note-ons that reached a server, µs
    std::vector<std::int64_t> reportedLatencyUs; // the server's figure at each
    std::vector<std::int64_t> connected; // when a stream started
    int dropped = 0; // note-ons while no server listened
    int underflows = 0; // as the server reported them
};
[[nodiscard]] NoteLogEntries readNoteLog(const std::string& path);

// Where sounds start in a recording: a sharp rise out of quiet, or over
// what rang before. Frame indices.
[[nodiscard]] std::vector<std::size_t> onsets(const std::vector<float>& frames);

// Gaps of 16 or more exact-zero frames that cut into sound: the signal just
// before them was far from silent, which no note's end is.
[[nodiscard]] int dropouts(const std::vector<float>& frames);

// The game's notes held against the recording's onsets. Note-ons closer
// than a few milliseconds sound as one; each such group must have its onset
// within the bound after it, and no onset may come without a note.
struct Alignment {
    int groups = 0; // of notes, inside the recording
    int matched = 0;
    int unexplained = 0; // onsets with no note before them
    std::string story; // every note and onset, ms from the start, for a failure's message
    std::vector<double> delaysMs; // note-on to onset, per matched group
};
[[nodiscard]] Alignment align(const std::vector<std::int64_t>& notes, const MonitorRecording& recording,
    std::int64_t fromUs, std::int64_t toUs, double boundMs);

} // namespace sound
