// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The synthesizer played through the desktop's sound server (PulseAudio, or
// PipeWire's PulseAudio service). The game owns the stream: the server asks
// for samples and the synthesizer renders them right then, on the server
// connection's own thread.
//
// The game's thread only plays notes into the synthesizer and, when the
// stream rests, nudges that thread through an eventfd: it never waits on the
// server. A server that is not there, or goes away, is retried every second;
// when it answers the sound comes back without a restart.
#pragma once

#include <pulse/mainloop-api.h>

#include <atomic>
#include <chrono>
#include <cstdint>

struct pa_context;
struct pa_stream;
struct pa_threaded_mainloop;

namespace platform {

class NoteLog;
class Synthesizer;

class PulseOutput {
public:
    // latencyMs: what the stream asks the server for, its own buffer and the
    // sound card's together.
    PulseOutput(Synthesizer& synth, NoteLog& log, int latencyMs);
    ~PulseOutput();
    PulseOutput(const PulseOutput&) = delete;
    PulseOutput& operator=(const PulseOutput&) = delete;

    // True while a server takes the sound, also when the stream rests; notes
    // played otherwise would only pile up, so the caller drops them.
    [[nodiscard]] bool listening() const;
    // Called after each note reached the synthesizer: wakes a resting stream.
    void noteStarted();
    // The stream's buffer and the sink's latency as the server last reported
    // them, in microseconds; 0 before the first report.
    [[nodiscard]] std::int64_t latencyUs() const { return latencyUs_.load(); }

private:
    enum class State { Waiting, Connecting, Playing, Resting };

    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onWrite(pa_stream* stream, std::size_t bytes, void* self);
    static void onUnderflow(pa_stream* stream, void* self);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* when, void* self);
    static void onNudge(
        pa_mainloop_api* api, pa_io_event* event, int fd, pa_io_event_flags_t flags, void* self);

    void connect();
    void openStream();
    void render(std::size_t bytes);
    void rest();
    void wake();
    void lost(const char* why);
    void drop();
    void retryLater(std::uint64_t afterUs);

    Synthesizer& synth_;
    NoteLog& log_;
    int latencyMs_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_mainloop_api* api_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_time_event* retry_ = nullptr;
    pa_io_event* nudge_ = nullptr;
    int nudgeFd_ = -1;
    std::atomic<State> state_ = State::Waiting;
    std::atomic<std::uint64_t> notes_ = 0; // notes started, ever
    std::atomic<std::int64_t> latencyUs_ = 0;
    // The rest of the members belong to the connection's thread.
    std::chrono::steady_clock::time_point silentSince_ {};
    bool everPlayed_ = false;
    bool realTimeAsked_ = false;
    bool saidLost_ = false;
};

} // namespace platform
