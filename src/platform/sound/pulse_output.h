// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The synthesizer played through the desktop's sound server (PulseAudio, or
// PipeWire's PulseAudio service). The game owns the stream, at the server's
// own sample rate: the server asks for samples and the synthesizer renders
// them right then, on the server connection's own thread, raised in the
// scheduler as far as the desktop lets it.
//
// The game's thread only plays notes into the synthesizer and, when the
// stream rests, nudges that thread through an eventfd; the rendering thread in
// turn never waits for the game's. A server that is not there, or goes away,
// is asked for again when its socket appears, and otherwise at growing
// intervals; when it answers the sound comes back without a restart.
#pragma once

#include <pulse/mainloop-api.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

struct pa_context;
struct pa_operation;
struct pa_sink_info;
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

    // Where a server on this machine has its socket, as the PulseAudio client
    // looks for it: PULSE_SERVER when it names a local socket, else the
    // user's runtime directory. Nothing when the server is elsewhere.
    [[nodiscard]] static std::optional<std::filesystem::path> serverSocket();

    // True while a server takes the sound, also when the stream rests; notes
    // played otherwise would only pile up, so the caller drops them.
    [[nodiscard]] bool listening() const;
    // Called after each note reached the synthesizer: wakes a resting stream.
    void noteStarted();

private:
    enum class State { Waiting, Connecting, Playing, Resting };

    static void onContextState(pa_context* context, void* self);
    static void onSinkInfo(pa_context* context, const pa_sink_info* info, int last, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onWrite(pa_stream* stream, std::size_t bytes, void* self);
    static void onUnderflow(pa_stream* stream, void* self);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const struct timeval* when, void* self);
    static void onNudge(
        pa_mainloop_api* api, pa_io_event* event, int fd, pa_io_event_flags_t flags, void* self);
    static void onSocketDir(
        pa_mainloop_api* api, pa_io_event* event, int fd, pa_io_event_flags_t flags, void* self);

    void connect();
    void openStream();
    void streamReady();
    void render(std::size_t bytes);
    void rest(std::uint64_t notesBefore);
    void wake();
    void lost(const char* why);
    void drop();
    void retryLater(std::uint64_t afterUs);
    void watchSocketDir(bool on);
    // A libpulse call that failed, said once for each call, with the server's reason.
    void failed(const char* call);
    // An operation the server was asked for; false (and said) when it was not.
    bool started(pa_operation* operation, const char* call);

    Synthesizer& synth_;
    NoteLog& log_;
    int latencyMs_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_mainloop_api* api_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_time_event* retry_ = nullptr;
    pa_io_event* nudge_ = nullptr;
    pa_io_event* socketDir_ = nullptr;
    int nudgeFd_ = -1;
    int watchFd_ = -1; // inotify, for the server's socket to appear
    int watched_ = -1; // the directory watched, while no server answers
    std::atomic<State> state_ = State::Waiting;
    std::atomic<std::uint64_t> notes_ = 0; // notes started, ever
    // The rest of the members belong to the connection's thread.
    std::chrono::steady_clock::time_point silentSince_ {};
    // The server's last request for samples, the wait for it, and the time
    // this thread spent in that wait ready to run but not running.
    std::chrono::steady_clock::time_point askedAt_ {};
    std::chrono::steady_clock::duration askedGap_ {};
    std::int64_t keptOffNs_ = 0;
    std::int64_t waitedNs_ = 0;
    std::uint64_t notesRendered_ = 0; // notes_ as the last rendering saw it
    std::uint64_t retryUs_ = 0; // the wait before the next attempt, doubled each time
    int sinkRate_ = 0;
    bool everPlayed_ = false;
    bool raised_ = false;
    bool saidLost_ = false;
    std::vector<const char*> saidFailed_;
};

} // namespace platform
