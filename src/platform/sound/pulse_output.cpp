// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/sound/pulse_output.h"

#include "platform/sound/note_log.h"
#include "platform/sound/synthesizer.h"

#include <pthread.h>
#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// How often a missing server is asked for again.
constexpr pa_usec_t kRetryUs = 1'000'000;
// A server that takes the connection but never starts the stream (a sound
// server with nothing to drive its sinks) counts as missing after this long.
constexpr pa_usec_t kAnswerUs = 3'000'000;
// A stream that has sounded nothing for this long rests (corked) until the
// next note: rendering silence would wake the machine hundreds of times a
// second for nothing. Long enough for the reverb to die away first. A new
// stream rests from the start, until the first note.
constexpr auto kRestAfter = std::chrono::seconds(2);

constexpr pa_sample_spec kSpec { PA_SAMPLE_FLOAT32NE, Synthesizer::kSampleRate, 2 };
constexpr std::size_t kFrameBytes = 2 * sizeof(float);

// The thread that renders asks for a real-time slot where the system grants
// one without asking anybody (a raised RLIMIT_RTPRIO, or the right to set
// it): a busy machine then never keeps it from feeding the server. Refused,
// it renders at normal priority. ZINDRA_SOUND_REALTIME=0 keeps it there, to
// measure what a player gets without.
void askForRealTime()
{
    if (const char* wanted = std::getenv("ZINDRA_SOUND_REALTIME"); wanted != nullptr && wanted[0] == '0') {
        return;
    }
    sched_param priority {};
    priority.sched_priority = 5; // low among real-time threads: the server's own come first
    pthread_setschedparam(pthread_self(), SCHED_RR | SCHED_RESET_ON_FORK, &priority);
}

template <class Operation> void forget(Operation* operation)
{
    if (operation != nullptr) {
        pa_operation_unref(operation);
    }
}

} // namespace

PulseOutput::PulseOutput(Synthesizer& synth, NoteLog& log, int latencyMs)
    : synth_(synth)
    , log_(log)
    , latencyMs_(latencyMs)
{
    loop_ = pa_threaded_mainloop_new();
    nudgeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (loop_ == nullptr || nudgeFd_ < 0) {
        std::fprintf(
            stderr, "zindra: cannot start the sound server connection; the game plays on without sound\n");
        return;
    }
    api_ = pa_threaded_mainloop_get_api(loop_);
    nudge_ = api_->io_new(api_, nudgeFd_, PA_IO_EVENT_INPUT, onNudge, this);
    retry_ = api_->time_new(api_, nullptr, onRetry, this);
    connect();
    pa_threaded_mainloop_set_name(loop_, "zindra-sound");
    pa_threaded_mainloop_start(loop_);
}

PulseOutput::~PulseOutput()
{
    if (loop_ != nullptr) {
        pa_threaded_mainloop_lock(loop_);
        drop();
        if (retry_ != nullptr) {
            api_->time_free(retry_);
        }
        if (nudge_ != nullptr) {
            api_->io_free(nudge_);
        }
        pa_threaded_mainloop_unlock(loop_);
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }
    if (nudgeFd_ >= 0) {
        close(nudgeFd_);
    }
}

bool PulseOutput::listening() const
{
    const State state = state_.load();
    return state == State::Playing || state == State::Resting;
}

void PulseOutput::noteStarted()
{
    notes_.fetch_add(1);
    if (state_.load() == State::Resting) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = write(nudgeFd_, &one, sizeof one);
    }
}

// ---- on the connection's thread from here on ---------------------------------

void PulseOutput::connect()
{
    state_ = State::Connecting;
    retryLater(kAnswerUs);
    context_ = pa_context_new(api_, "Zindra");
    if (context_ == nullptr) {
        lost("no connection could be made");
        return;
    }
    pa_context_set_state_callback(context_, onContextState, this);
    // Never spawn a server of our own: a desktop without one stays silent.
    if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        lost(pa_strerror(pa_context_errno(context_)));
    }
}

void PulseOutput::onContextState(pa_context* context, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        output.openStream();
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        output.lost(pa_strerror(pa_context_errno(context)));
        break;
    default:
        break;
    }
}

void PulseOutput::openStream()
{
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "game");
    stream_ = pa_stream_new_with_proplist(context_, "Zindra", &kSpec, nullptr, properties);
    pa_proplist_free(properties);
    if (stream_ == nullptr) {
        lost(pa_strerror(pa_context_errno(context_)));
        return;
    }
    pa_stream_set_state_callback(stream_, onStreamState, this);
    pa_stream_set_write_callback(stream_, onWrite, this);
    pa_stream_set_underflow_callback(stream_, onUnderflow, this);
    // The latency asked for covers the stream's buffer and the sink's
    // together (ADJUST_LATENCY); the server picks its share of it.
    pa_buffer_attr attributes {};
    attributes.maxlength = static_cast<std::uint32_t>(-1);
    attributes.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(latencyMs_ * PA_USEC_PER_MSEC, &kSpec));
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED);
    if (log_.on()) {
        flags = static_cast<pa_stream_flags_t>(
            flags | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_INTERPOLATE_TIMING);
    }
    if (pa_stream_connect_playback(stream_, nullptr, &attributes, flags, nullptr, nullptr) < 0) {
        lost(pa_strerror(pa_context_errno(context_)));
    }
}

void PulseOutput::onStreamState(pa_stream* stream, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        // Whatever was played while no server listened is not heard late.
        output.synth_.silence();
        output.state_ = State::Resting;
        output.api_->time_restart(output.retry_, nullptr);
        if (output.saidLost_ && output.everPlayed_) {
            std::fprintf(stderr, "zindra: the sound server is back, and so is the sound\n");
        }
        output.saidLost_ = false;
        output.everPlayed_ = true;
        output.log_.line("connected");
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        output.lost(pa_strerror(pa_context_errno(pa_stream_get_context(stream))));
        break;
    default:
        break;
    }
}

void PulseOutput::onWrite(pa_stream* /*stream*/, std::size_t bytes, void* self)
{
    static_cast<PulseOutput*>(self)->render(bytes);
}

void PulseOutput::render(std::size_t bytes)
{
    if (!realTimeAsked_) {
        askForRealTime();
        realTimeAsked_ = true;
    }
    while (bytes >= kFrameBytes) {
        void* data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream_, &data, &size) < 0 || data == nullptr) {
            return;
        }
        size -= size % kFrameBytes;
        if (size == 0) {
            pa_stream_cancel_write(stream_);
            return;
        }
        synth_.renderInto(static_cast<float*>(data), static_cast<int>(size / kFrameBytes));
        pa_stream_write(stream_, data, size, nullptr, 0, PA_SEEK_RELATIVE);
        bytes -= std::min(bytes, size);
    }
    pa_usec_t latency = 0;
    int negative = 0;
    if (log_.on() && pa_stream_get_latency(stream_, &latency, &negative) == 0) {
        latencyUs_ = negative != 0 ? 0 : static_cast<std::int64_t>(latency);
    }
    if (synth_.activeVoices() > 0) {
        silentSince_ = Clock::now();
    } else if (state_.load() == State::Playing && Clock::now() - silentSince_ > kRestAfter) {
        rest();
    }
}

void PulseOutput::rest()
{
    const std::uint64_t seen = notes_.load();
    state_ = State::Resting;
    forget(pa_stream_cork(stream_, 1, nullptr, nullptr));
    // The buffered silence goes: the next note is rendered fresh.
    forget(pa_stream_flush(stream_, nullptr, nullptr));
    log_.line("rest");
    // A note that came while it lay down did not see it resting.
    if (notes_.load() != seen) {
        wake();
    }
}

void PulseOutput::wake()
{
    if (state_.load() != State::Resting || stream_ == nullptr) {
        return;
    }
    state_ = State::Playing;
    silentSince_ = Clock::now();
    forget(pa_stream_cork(stream_, 0, nullptr, nullptr));
    log_.line("wake");
}

void PulseOutput::onNudge(
    pa_mainloop_api* /*api*/, pa_io_event* /*event*/, int fd, pa_io_event_flags_t /*flags*/, void* self)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(fd, &count, sizeof count);
    static_cast<PulseOutput*>(self)->wake();
}

void PulseOutput::onUnderflow(pa_stream* /*stream*/, void* self)
{
    static_cast<PulseOutput*>(self)->log_.line("underflow");
}

void PulseOutput::lost(const char* why)
{
    if (state_.load() == State::Waiting) {
        return; // the stream and its connection both report the one loss
    }
    state_ = State::Waiting;
    if (!saidLost_) {
        if (everPlayed_) {
            std::fprintf(stderr,
                "zindra: the sound server went away (%s); the game plays on without sound until it is back\n",
                why);
        } else {
            std::fprintf(stderr,
                "zindra: no sound device: no sound server answers (%s); the game plays on without sound "
                "until one does\n",
                why);
        }
        saidLost_ = true;
    }
    log_.line("lost");
    retryLater(kRetryUs);
}

void PulseOutput::retryLater(std::uint64_t afterUs)
{
    timeval when {};
    pa_timeval_add(pa_gettimeofday(&when), afterUs);
    api_->time_restart(retry_, &when);
}

void PulseOutput::onRetry(
    pa_mainloop_api* api, pa_time_event* event, const struct timeval* /*when*/, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    api->time_restart(event, nullptr);
    if (output.state_.load() == State::Connecting) {
        output.lost("no answer"); // and again in a second
        return;
    }
    output.drop();
    output.connect();
}

void PulseOutput::drop()
{
    if (stream_ != nullptr) {
        pa_stream_set_state_callback(stream_, nullptr, nullptr);
        pa_stream_set_write_callback(stream_, nullptr, nullptr);
        pa_stream_set_underflow_callback(stream_, nullptr, nullptr);
        pa_stream_disconnect(stream_);
        pa_stream_unref(stream_);
        stream_ = nullptr;
    }
    if (context_ != nullptr) {
        pa_context_set_state_callback(context_, nullptr, nullptr);
        pa_context_disconnect(context_);
        pa_context_unref(context_);
        context_ = nullptr;
    }
}

} // namespace platform
