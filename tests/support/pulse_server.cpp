// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pulse_server.h"

#include <pulse/error.h>
#include <pulse/simple.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace sound {

namespace {

constexpr int kChannels = 2;
constexpr std::size_t kReadFrames = 441; // 10 ms a read

bool accepts(const std::string& socketPath)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

} // namespace

std::int64_t nowUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool PulseServer::installed()
{
    return support::onPath("pulseaudio");
}

PulseServer::PulseServer()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zindra-pulse.XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        dir_ = pattern;
    }
}

PulseServer::~PulseServer()
{
    kill();
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
}

std::string PulseServer::log() const
{
    std::ifstream file(dir_ + "/server.log");
    return { std::istreambuf_iterator<char>(file), {} };
}

bool PulseServer::start()
{
    const std::string sink = "module-null-sink sink_name=zindra format=float32le rate=44100 channels=2";
    const std::string protocol = "module-native-protocol-unix auth-anonymous=1 socket=" + socket();
    // Its home, runtime and state directories are ours alone; as root it must
    // be told that a per-user server is meant.
    if (!process_.start({ "pulseaudio", "-n", "--daemonize=no", "--system=no", "--use-pid-file=no",
                            "--exit-idle-time=-1", "--disallow-exit", "--disable-shm=yes", "--log-level=notice",
                            "--load=" + sink, "--load=" + protocol },
            { "HOME=" + dir_, "XDG_RUNTIME_DIR=" + dir_, "XDG_CONFIG_HOME=" + dir_ }, dir_ + "/server.log")) {
        return false;
    }
    for (int i = 0; i < 250 && process_.running(); ++i) {
        if (accepts(socket())) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

void PulseServer::kill()
{
    process_.kill();
}

MonitorRecording::MonitorRecording(std::string server)
    : server_(std::move(server))
{
}

MonitorRecording::~MonitorRecording()
{
    stop();
}

bool MonitorRecording::start()
{
    const pa_sample_spec spec { PA_SAMPLE_FLOAT32NE, PulseServer::kSampleRate, kChannels };
    // Small fragments: each read's time says when its samples played.
    const pa_buffer_attr attributes { static_cast<std::uint32_t>(-1), 0, 0, 0,
        static_cast<std::uint32_t>(kReadFrames * kChannels * sizeof(float)) };
    int error = 0;
    simple_ = pa_simple_new(server_.c_str(), "zindra-test", PA_STREAM_RECORD, "zindra.monitor", "monitor",
        &spec, nullptr, &attributes, &error);
    if (simple_ == nullptr) {
        return false;
    }
    thread_ = std::thread([this] { record(); });
    return true;
}

void MonitorRecording::record()
{
    auto* simple = static_cast<pa_simple*>(simple_);
    std::vector<float> buffer(kReadFrames * kChannels);
    while (!stopping_) {
        int error = 0;
        if (pa_simple_read(simple, buffer.data(), buffer.size() * sizeof(float), &error) < 0) {
            break; // the server went away
        }
        const std::int64_t readAt = nowUs();
        for (std::size_t i = 0; i < kReadFrames; ++i) {
            frames_.push_back(std::max(std::abs(buffer[2 * i]), std::abs(buffer[2 * i + 1])));
        }
        // The last frame read played before the read returned: at worst the
        // recording's times are late by the quickest delivery, never early.
        starts_.push_back(
            readAt - static_cast<std::int64_t>(frames_.size()) * 1'000'000 / PulseServer::kSampleRate);
    }
}

void MonitorRecording::stop()
{
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (simple_ != nullptr) {
        pa_simple_free(static_cast<pa_simple*>(simple_));
        simple_ = nullptr;
    }
    if (!starts_.empty()) {
        // A read can come late, never early: the earliest estimate is the truest.
        startUs_ = *std::min_element(starts_.begin(), starts_.end());
    }
}

NoteLogEntries readNoteLog(const std::string& path)
{
    NoteLogEntries entries;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::int64_t at = 0;
        std::string what;
        fields >> at >> what;
        if (what == "on") {
            int note = 0;
            std::int64_t latency = 0;
            fields >> note >> latency;
            entries.notes.push_back(at);
            entries.reportedLatencyUs.push_back(latency);
        } else if (what == "connected") {
            entries.connected.push_back(at);
        } else if (what == "dropped") {
            ++entries.dropped;
        } else if (what == "underflow") {
            ++entries.underflows;
        }
    }
    return entries;
}

std::vector<std::size_t> onsets(const std::vector<float>& frames)
{
    constexpr std::size_t kWindow = 44; // 1 ms
    // A rise is measured against the level some milliseconds before it: some
    // attacks take ten to reach full strength.
    constexpr std::size_t kRise = 12; // windows
    constexpr std::size_t kBaseline = 20; // windows before the rise
    constexpr std::size_t kRefractory = 40; // windows: one sound's attack is one onset
    constexpr float kLoud = 0.02f;
    std::vector<float> envelope(frames.size() / kWindow);
    for (std::size_t w = 0; w < envelope.size(); ++w) {
        envelope[w] = *std::max_element(frames.begin() + w * kWindow, frames.begin() + (w + 1) * kWindow);
    }
    std::vector<std::size_t> found;
    std::size_t last = 0;
    for (std::size_t w = kRise + kBaseline; w < envelope.size(); ++w) {
        const float baseline
            = *std::max_element(envelope.begin() + (w - kRise - kBaseline), envelope.begin() + (w - kRise));
        if (envelope[w] <= kLoud || envelope[w] <= 3 * baseline
            || (!found.empty() && w - last <= kRefractory)) {
            continue;
        }
        // Where it began: the first window of the rise clearly above the baseline.
        std::size_t start = w - kRise;
        while (start < w && envelope[start] <= 2 * baseline + 0.002f) {
            ++start;
        }
        found.push_back(start * kWindow);
        last = w;
    }
    return found;
}

int dropouts(const std::vector<float>& frames)
{
    constexpr std::size_t kGap = 16;
    constexpr std::size_t kBefore = 44;
    constexpr float kSounding = 0.005f;
    int count = 0;
    std::size_t run = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (frames[i] == 0.0f) {
            ++run;
            continue;
        }
        if (run >= kGap) {
            const std::size_t start = i - run;
            const auto from = frames.begin() + static_cast<std::ptrdiff_t>(start - std::min(start, kBefore));
            if (start > 0
                && *std::max_element(from, frames.begin() + static_cast<std::ptrdiff_t>(start)) > kSounding) {
                ++count;
            }
        }
        run = 0;
    }
    return count;
}

Alignment align(const std::vector<std::int64_t>& notes, const MonitorRecording& recording,
    std::int64_t fromUs, std::int64_t toUs, double boundMs)
{
    constexpr std::int64_t kTogetherUs = 30'000;
    const auto bound = static_cast<std::int64_t>(boundMs * 1000);
    // Only what the recording holds, less its first moments: a sound already
    // ringing when it began would look like an onset there.
    fromUs = std::max(fromUs, recording.startUs() + 100'000);
    toUs = std::min(toUs, recording.timeOf(recording.frames().size()));
    std::vector<std::int64_t> groups;
    for (const std::int64_t note : notes) {
        if (note >= fromUs && note + bound <= toUs
            && (groups.empty() || note - groups.back() > kTogetherUs)) {
            groups.push_back(note);
        }
    }
    std::vector<std::int64_t> heard;
    for (const std::size_t frame : onsets(recording.frames())) {
        const std::int64_t at = recording.timeOf(frame);
        if (at >= fromUs && at <= toUs) {
            heard.push_back(at);
        }
    }
    Alignment result;
    result.groups = static_cast<int>(groups.size());
    for (const std::int64_t group : groups) {
        // Measurement slack: a few milliseconds either way.
        const auto it = std::find_if(heard.begin(), heard.end(),
            [&](std::int64_t at) { return at >= group - 5'000 && at <= group + bound; });
        if (it != heard.end()) {
            ++result.matched;
            result.delaysMs.push_back(static_cast<double>(*it - group) / 1000.0);
        }
    }
    for (const std::int64_t at : heard) {
        const bool played = std::any_of(notes.begin(), notes.end(),
            [&](std::int64_t note) { return note >= at - bound && note <= at + 5'000; });
        result.unexplained += played ? 0 : 1;
    }
    for (const std::int64_t note : notes) {
        result.story += " note@" + std::to_string((note - fromUs) / 1000);
    }
    for (const std::int64_t at : heard) {
        result.story += " onset@" + std::to_string((at - fromUs) / 1000);
    }
    return result;
}

} // namespace sound
