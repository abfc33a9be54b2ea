// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/sound/pulse_output.h"

#include "platform/sound/note_log.h"
#include "platform/sound/synthesizer.h"
#include "platform/sound/thread_priority.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/stream.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// A missing server is asked for again after a second, then after twice as
// long each time, up to a minute: a desktop without one pays next to nothing.
// Its socket appearing brings the next attempt forward.
constexpr pa_usec_t kRetryUs = 1'000'000;
constexpr pa_usec_t kRetryMaxUs = 64'000'000;
// After the socket appears: the server listens a moment after it binds.
constexpr pa_usec_t kAppearedUs = 100'000;
// A server that takes the connection but never starts the stream (a sound
// server with nothing to drive its sinks) counts as missing after this long.
constexpr pa_usec_t kAnswerUs = 3'000'000;
// A stream that has sounded nothing for this long rests (corked) until the
// next note: rendering silence would wake the machine hundreds of times a
// second for nothing. Long enough for the reverb to die away first. A new
// stream rests from the start, until the first note.
constexpr auto kRestAfter = std::chrono::seconds(2);
// Below half a step of 16-bit output: silence to every sound card.
constexpr float kAudible = 1.0f / 65536;
// FluidSynth's range; a sink outside it gets the synthesizer's rate, resampled.
constexpr int kLowestRate = 8000;
constexpr int kHighestRate = 96000;

constexpr std::size_t kFrameBytes = 2 * sizeof(float);

double milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// How long the calling thread has waited, ready to run, for a processor (ns).
std::int64_t runQueueWaitNs()
{
    long long ran = 0;
    long long waited = 0;
    if (std::FILE* stat = std::fopen("/proc/thread-self/schedstat", "r")) {
        (void)std::fscanf(stat, "%lld %lld", &ran, &waited);
        std::fclose(stat);
    }
    return waited;
}

} // namespace

std::optional<std::filesystem::path> PulseOutput::serverSocket()
{
    if (const char* server = std::getenv("PULSE_SERVER")) {
        std::string_view address = server;
        if (address.starts_with("unix:")) {
            address.remove_prefix(5);
        }
        if (!address.starts_with('/')) {
            return std::nullopt;
        }
        return std::filesystem::path(address.substr(0, address.find(' ')));
    }
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        return std::filesystem::path(runtime) / "pulse" / "native";
    }
    return std::nullopt;
}

PulseOutput::PulseOutput(Synthesizer& synth, NoteLog& log, int latencyMs)
    : synth_(synth)
    , log_(log)
    , latencyMs_(latencyMs)
    , retryUs_(kRetryUs)
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
    watchFd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watchFd_ >= 0) {
        socketDir_ = api_->io_new(api_, watchFd_, PA_IO_EVENT_INPUT, onSocketDir, this);
    }
    connect();
    pa_threaded_mainloop_set_name(loop_, "zindra-sound");
    if (pa_threaded_mainloop_start(loop_) < 0) {
        failed("pa_threaded_mainloop_start");
        state_ = State::Waiting; // and so it stays: nothing is heard
    }
}

PulseOutput::~PulseOutput()
{
    if (loop_ != nullptr) {
        pa_threaded_mainloop_lock(loop_);
        drop();
        for (pa_io_event* event : { nudge_, socketDir_ }) {
            if (event != nullptr) {
                api_->io_free(event);
            }
        }
        if (retry_ != nullptr) {
            api_->time_free(retry_);
        }
        pa_threaded_mainloop_unlock(loop_);
        pa_threaded_mainloop_stop(loop_);
        pa_threaded_mainloop_free(loop_);
    }
    for (int fd : { nudgeFd_, watchFd_ }) {
        if (fd >= 0) {
            close(fd);
        }
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
        // The stream and the synthesizer take the rate the sound card runs at.
        output.sinkRate_ = 0;
        if (!output.started(pa_context_get_sink_info_by_name(context, "@DEFAULT_SINK@", onSinkInfo, &output),
                "pa_context_get_sink_info_by_name")) {
            output.openStream();
        }
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        output.lost(pa_strerror(pa_context_errno(context)));
        break;
    default:
        break;
    }
}

void PulseOutput::onSinkInfo(pa_context* /*context*/, const pa_sink_info* info, int last, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    if (last == 0 && info != nullptr) {
        output.sinkRate_ = static_cast<int>(info->sample_spec.rate);
        return;
    }
    output.openStream(); // without a default sink the stream says why it fails
}

void PulseOutput::openStream()
{
    // Whatever was played while no server listened is not heard late.
    const bool ownRate = sinkRate_ >= kLowestRate && sinkRate_ <= kHighestRate;
    synth_.restart(ownRate ? sinkRate_ : synth_.sampleRate());
    const pa_sample_spec spec { PA_SAMPLE_FLOAT32NE, static_cast<std::uint32_t>(synth_.sampleRate()), 2 };
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "game");
    stream_ = pa_stream_new_with_proplist(context_, "Zindra", &spec, nullptr, properties);
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
    attributes.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(latencyMs_ * PA_USEC_PER_MSEC, &spec));
    attributes.prebuf = static_cast<std::uint32_t>(-1);
    attributes.minreq = static_cast<std::uint32_t>(-1);
    attributes.fragsize = static_cast<std::uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED);
    if (pa_stream_connect_playback(stream_, nullptr, &attributes, flags, nullptr, nullptr) < 0) {
        lost(pa_strerror(pa_context_errno(context_)));
    }
}

void PulseOutput::onStreamState(pa_stream* stream, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        output.streamReady();
        break;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        output.lost(pa_strerror(pa_context_errno(pa_stream_get_context(stream))));
        break;
    default:
        break;
    }
}

void PulseOutput::streamReady()
{
    state_ = State::Resting;
    api_->time_restart(retry_, nullptr);
    retryUs_ = kRetryUs;
    watchSocketDir(false);
    if (!raised_) {
        raised_ = true;
        const char* wanted = std::getenv("ZINDRA_SOUND_REALTIME");
        const std::string slot
            = wanted != nullptr && wanted[0] == '0' ? "normal (ZINDRA_SOUND_REALTIME=0)" : raiseThisThread();
        log_.line("slot %s", slot.c_str());
    }
    if (saidLost_ && everPlayed_) {
        std::fprintf(stderr, "zindra: the sound server is back, and so is the sound\n");
    }
    saidLost_ = false;
    everPlayed_ = true;
    log_.line("connected %d", synth_.sampleRate());
}

void PulseOutput::onWrite(pa_stream* /*stream*/, std::size_t bytes, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    const auto now = Clock::now();
    output.askedGap_ = now - output.askedAt_;
    output.askedAt_ = now;
    if (output.log_.on()) { // the kernel's count, for the underflow's story
        const std::int64_t waited = runQueueWaitNs();
        output.keptOffNs_ = waited - output.waitedNs_;
        output.waitedNs_ = waited;
    }
    // Resting, nothing is written: the next note starts at the head of an
    // empty buffer, not behind the silence the server asks for meanwhile.
    if (output.state_.load() == State::Playing) {
        output.render(bytes);
    }
}

void PulseOutput::render(std::size_t bytes)
{
    // Taken before the rendering: a note played after this point is not in
    // what is rendered now, and keeps the stream from resting.
    const std::uint64_t notes = notes_.load();
    bool audible = false;
    while (bytes >= kFrameBytes) {
        void* data = nullptr;
        std::size_t size = bytes;
        if (pa_stream_begin_write(stream_, &data, &size) < 0 || data == nullptr) {
            failed("pa_stream_begin_write");
            return;
        }
        size -= size % kFrameBytes;
        if (size == 0) {
            pa_stream_cancel_write(stream_);
            return;
        }
        auto* samples = static_cast<float*>(data);
        synth_.renderInto(samples, static_cast<int>(size / kFrameBytes));
        audible = audible || std::any_of(samples, samples + size / sizeof(float), [](float sample) {
            return std::fabs(sample) >= kAudible;
        });
        if (pa_stream_write(stream_, data, size, nullptr, 0, PA_SEEK_RELATIVE) < 0) {
            failed("pa_stream_write");
            return;
        }
        bytes -= size;
    }
    if (audible || notes != notesRendered_) {
        silentSince_ = Clock::now();
        notesRendered_ = notes;
    } else if (Clock::now() - silentSince_ > kRestAfter) {
        rest(notes);
    }
}

void PulseOutput::rest(std::uint64_t notesBefore)
{
    state_ = State::Resting;
    // A note played since the rendering began saw the stream playing and
    // nudged nothing: it keeps the stream playing. One played from here on
    // sees it resting and wakes it.
    if (notes_.load() != notesBefore) {
        state_ = State::Playing;
        return;
    }
    started(pa_stream_cork(stream_, 1, nullptr, nullptr), "pa_stream_cork");
    // What is queued is silence: it goes.
    started(pa_stream_flush(stream_, nullptr, nullptr), "pa_stream_flush");
    log_.line("rest");
}

void PulseOutput::wake()
{
    if (state_.load() != State::Resting || stream_ == nullptr) {
        return;
    }
    state_ = State::Playing;
    silentSince_ = Clock::now();
    started(pa_stream_cork(stream_, 0, nullptr, nullptr), "pa_stream_cork");
    // The buffer is empty: it is filled now, the note at its head. Uncorked
    // first: filled while still corked, the stream would sometimes not ask
    // for more until it had run dry.
    const std::size_t writable = pa_stream_writable_size(stream_);
    if (writable == static_cast<std::size_t>(-1)) {
        failed("pa_stream_writable_size");
    } else {
        render(writable);
    }
    log_.line("wake");
}

void PulseOutput::onNudge(
    pa_mainloop_api* /*api*/, pa_io_event* /*event*/, int fd, pa_io_event_flags_t /*flags*/, void* self)
{
    std::uint64_t count = 0;
    [[maybe_unused]] const auto read = ::read(fd, &count, sizeof count);
    static_cast<PulseOutput*>(self)->wake();
}

// The server ran dry: what the rendering thread knew then, to tell whose
// fault it was. When it was last asked for samples (ms ago); how long it had
// waited for that request, and how much of that wait it spent ready to run
// but kept off the processors (a starved thread, not a late server); how it
// is scheduled; and the time the machine's host took from its processors
// (steal, clock ticks since boot).
void PulseOutput::onUnderflow(pa_stream* /*stream*/, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    const int policy = sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    long long steal = -1;
    if (std::FILE* stat = std::fopen("/proc/stat", "r")) {
        (void)std::fscanf(stat, "cpu %*d %*d %*d %*d %*d %*d %*d %lld", &steal);
        std::fclose(stat);
    }
    output.log_.line("underflow %.1f %.1f %.1f %s %d %lld", milliseconds(Clock::now() - output.askedAt_),
        milliseconds(output.askedGap_), static_cast<double>(output.keptOffNs_) / 1e6,
        policy == SCHED_RR         ? "rr"
            : policy == SCHED_FIFO ? "fifo"
                                   : "other",
        getpriority(PRIO_PROCESS, 0), steal);
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
    watchSocketDir(true);
    retryLater(retryUs_);
    retryUs_ = std::min(2 * retryUs_, kRetryMaxUs);
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
        output.lost("no answer");
        return;
    }
    output.drop();
    output.connect();
}

// While no server answers, the directory its socket is made in is watched
// (or, until that exists, its parent), so that a server that starts is heard
// at once rather than at the next attempt.
void PulseOutput::watchSocketDir(bool on)
{
    if (watched_ >= 0) {
        inotify_rm_watch(watchFd_, watched_);
        watched_ = -1;
    }
    const auto socket = serverSocket();
    if (!on || watchFd_ < 0 || !socket) {
        return;
    }
    std::error_code error;
    const auto dir = socket->parent_path();
    watched_ = inotify_add_watch(watchFd_,
        (std::filesystem::is_directory(dir, error) ? dir : dir.parent_path()).c_str(),
        IN_CREATE | IN_MOVED_TO | IN_ONLYDIR);
}

void PulseOutput::onSocketDir(
    pa_mainloop_api* /*api*/, pa_io_event* /*event*/, int fd, pa_io_event_flags_t /*flags*/, void* self)
{
    auto& output = *static_cast<PulseOutput*>(self);
    const auto socket = serverSocket();
    bool appeared = false;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length = 0; (length = ::read(fd, buffer, sizeof buffer)) > 0;) {
        for (const char* at = buffer; at < buffer + length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            appeared = appeared
                || (event->len > 0 && socket
                    && (socket->filename() == event->name
                        || socket->parent_path().filename() == event->name));
            at += sizeof(inotify_event) + event->len;
        }
    }
    if (appeared && output.state_.load() == State::Waiting) {
        output.watchSocketDir(true); // the socket's own directory, once it is there
        output.retryLater(kAppearedUs);
    }
}

bool PulseOutput::started(pa_operation* operation, const char* call)
{
    if (operation == nullptr) {
        failed(call);
        return false;
    }
    pa_operation_unref(operation); // it goes on without us
    return true;
}

void PulseOutput::failed(const char* call)
{
    if (std::find(saidFailed_.begin(), saidFailed_.end(), call) != saidFailed_.end()) {
        return;
    }
    saidFailed_.push_back(call);
    std::fprintf(stderr, "zindra: the sound server connection failed in %s (%s)\n", call,
        context_ != nullptr ? pa_strerror(pa_context_errno(context_)) : "no connection");
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
