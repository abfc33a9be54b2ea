// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "pulse_server.h"

#include <pulse/simple.h>
#include <sched.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace sound {

namespace {

constexpr std::size_t kMs = Recording::kSampleRate / 1000; // frames
constexpr std::size_t kReadFrames = 10 * kMs;

// Frame indices where sounds start: a sharp rise out of quiet, or over what
// rang before, measured against the level some milliseconds earlier (some
// attacks take ten to reach full strength).
std::vector<std::size_t> onsets(const std::vector<float>& frames)
{
    constexpr std::size_t kRise = 12; // ms
    constexpr std::size_t kBaseline = 20; // ms before the rise
    constexpr std::size_t kRefractory = 40; // ms: one sound's attack is one onset
    constexpr float kLoud = 0.02f;
    std::vector<float> envelope(frames.size() / kMs); // the loudest of each millisecond
    for (std::size_t w = 0; w < envelope.size(); ++w) {
        envelope[w] = *std::max_element(frames.begin() + w * kMs, frames.begin() + (w + 1) * kMs);
    }
    std::vector<std::size_t> found;
    std::size_t last = 0;
    for (std::size_t w = kRise + kBaseline; w < envelope.size(); ++w) {
        const auto from = envelope.begin() + static_cast<std::ptrdiff_t>(w - kRise);
        const float baseline = *std::max_element(from - kBaseline, from);
        if (envelope[w] <= kLoud || envelope[w] <= 3 * baseline
            || (!found.empty() && w - last <= kRefractory)) {
            continue;
        }
        // Where it began: the first millisecond of the rise clearly above the baseline.
        std::size_t start = w - kRise;
        while (start < w && envelope[start] <= 2 * baseline + 0.002f) {
            ++start;
        }
        found.push_back(start * kMs);
        last = w;
    }
    return found;
}

std::vector<std::size_t> dropouts(const std::vector<float>& frames)
{
    constexpr std::ptrdiff_t kGap = 16;
    constexpr float kSounding = 0.005f;
    std::vector<std::size_t> found;
    for (auto zero = frames.begin(); (zero = std::find(zero, frames.end(), 0.0f)) != frames.end();) {
        const auto sound = std::find_if(zero, frames.end(), [](float frame) { return frame != 0.0f; });
        const auto before = zero - std::min<std::ptrdiff_t>(zero - frames.begin(), kMs);
        if (sound - zero >= kGap && sound != frames.end() && before != zero
            && *std::max_element(before, zero) > kSounding) {
            found.push_back(static_cast<std::size_t>(zero - frames.begin()));
        }
        zero = sound;
    }
    return found;
}

} // namespace

std::string PulseServer::log() const
{
    std::ifstream file(dir() + "/server.log");
    return { std::istreambuf_iterator<char>(file), {} };
}

bool PulseServer::start()
{
    const std::string sink = "module-null-sink sink_name=zindra format=float32le rate="
        + std::to_string(Recording::kSampleRate) + " channels=2";
    const std::string protocol = "module-native-protocol-unix auth-anonymous=1 socket=" + dir() + "/native";
    std::filesystem::remove(dir() + "/server.log"); // a server started again tells its own start
    // Its home, runtime and state directories are ours alone; as root it must
    // be told that a per-user server is meant.
    if (!process_.start({ "pulseaudio", "-n", "--daemonize=no", "--system=no", "--use-pid-file=no",
                            "--exit-idle-time=-1", "--disallow-exit", "--disable-shm=yes", "--log-level=info",
                            "--load=" + sink, "--load=" + protocol },
            { "HOME=" + dir(), "XDG_RUNTIME_DIR=" + dir(), "XDG_CONFIG_HOME=" + dir() },
            dir() + "/server.log")) {
        return false;
    }
    for (int i = 0; i < 250 && process_.running(); ++i) {
        if (log().find("Daemon startup complete") != std::string::npos) {
            if (realTimeMainThread_) {
                const sched_param priority { .sched_priority = 5 };
                sched_setscheduler(process_.pid(), SCHED_RR, &priority); // refused unless we are root
            }
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool PulseServer::record()
{
    const pa_sample_spec spec { PA_SAMPLE_FLOAT32NE, Recording::kSampleRate, 1 };
    // Small fragments: each read's time says when its samples played.
    const pa_buffer_attr attributes { static_cast<std::uint32_t>(-1), 0, 0, 0,
        static_cast<std::uint32_t>(kReadFrames * sizeof(float)) };
    pa_simple* simple = pa_simple_new(address().c_str(), "zindra-test", PA_STREAM_RECORD, "zindra.monitor",
        "monitor", &spec, nullptr, &attributes, nullptr);
    if (simple == nullptr) {
        return false;
    }
    stopping_ = false;
    recording_ = {};
    auto read = [this, simple, buffer = std::vector<float>(kReadFrames)]() mutable {
        if (pa_simple_read(simple, buffer.data(), buffer.size() * sizeof(float), nullptr) != 0) {
            return false; // the server went away
        }
        auto& frames = recording_.frames;
        std::transform(
            buffer.begin(), buffer.end(), std::back_inserter(frames), [](float s) { return std::abs(s); });
        // The last frame read played before the read returned: a read can
        // come late, never early, so the earliest estimate is the truest.
        recording_.startUs = std::min(recording_.startUs,
            nowUs() - static_cast<std::int64_t>(frames.size()) * 1'000'000 / Recording::kSampleRate);
        return true;
    };
    // A sink that idled sleeps out its long idle period (two seconds) before
    // it serves a new recording: the first read waits for it.
    if (!read()) {
        pa_simple_free(simple);
        return false;
    }
    recorder_ = std::thread([this, simple, read]() mutable {
        while (!stopping_ && read()) { }
        pa_simple_free(simple);
    });
    return true;
}

Recording PulseServer::stopRecording()
{
    stopping_ = true;
    if (recorder_.joinable()) {
        recorder_.join();
    }
    return std::move(recording_);
}

RealTimeBroker::RealTimeBroker()
{
    const std::string dir = dir_.path().toStdString();
    const std::vector<std::string> bus { "DBUS_SYSTEM_BUS_ADDRESS=" + address() };
    // Anyone may own and call anything on it; the broker's users must reach its socket.
    std::ofstream(dir + "/bus.conf")
        << "<busconfig><type>system</type><auth>EXTERNAL</auth><listen>unix:path=" << dir
        << "/bus</listen><policy context='default'><allow user='*'/>"
        << "<allow own='*'/><allow send_type='*'/><allow receive_type='*'/>"
        << "</policy></busconfig>";
    std::filesystem::permissions(
        dir, std::filesystem::perms::others_exec, std::filesystem::perm_options::add);
    const auto appears = [&](const std::string& name) { // within a few seconds
        const std::string wait = bus[0] + " gdbus wait --system --timeout 5 " + name + " >/dev/null 2>&1";
        return std::system(wait.c_str()) == 0;
    };
    if (geteuid() != 0
        || !bus_.start(
            { "dbus-daemon", "--config-file=" + dir + "/bus.conf", "--nofork" }, {}, "/dev/null")) {
        return;
    }
    for (int i = 0; i < 250 && !std::filesystem::exists(dir + "/bus"); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    available_ = policy_.start({ "/usr/lib/polkit-1/polkitd", "--no-debug" }, bus, "/dev/null")
        && rtkit_.start({ "/usr/libexec/rtkit-daemon" }, bus, "/dev/null")
        && appears("org.freedesktop.PolicyKit1") && appears("org.freedesktop.RealtimeKit1");
}

NoteLogEntries readNoteLog(const std::string& path)
{
    NoteLogEntries entries;
    std::ifstream file(path);
    bool resting = true;
    for (std::string line; std::getline(file, line);) {
        std::istringstream fields(line);
        std::int64_t at = 0;
        std::string what;
        fields >> at >> what;
        if (what == "on") {
            entries.notes.push_back({ at, resting });
        } else if (what == "slot") {
            std::getline(fields >> std::ws, entries.slot);
        } else {
            ++entries.count[what];
            fields >> entries.rate; // only "connected" is followed by a number: the rate
        }
        resting = what == "connected" || what == "rest" || (resting && what != "wake");
    }
    return entries;
}

Hearing hear(const NoteLogEntries& log, const Recording& recording, std::int64_t fromUs, std::int64_t toUs,
    double boundMs)
{
    constexpr std::int64_t kTogetherUs = 100'000;
    constexpr std::int64_t kSlackUs = 15'000; // the recording's clock, either way
    const auto bound = static_cast<std::int64_t>(boundMs * 1000);
    // Only what the recording holds, less its first moments: a sound already
    // ringing when it began would look like an onset there.
    fromUs = std::max(fromUs, recording.timeOf(0) + 100'000);
    toUs = std::min(toUs, recording.timeOf(recording.frames.size()));
    Hearing result;
    for (const std::size_t frame : dropouts(recording.frames)) {
        ++result.dropouts;
        result.story += " dropout@" + std::to_string((recording.timeOf(frame) - fromUs) / 1000);
    }
    std::vector<std::int64_t> heard;
    for (const std::size_t frame : onsets(recording.frames)) {
        if (const std::int64_t at = recording.timeOf(frame); at >= fromUs && at <= toUs) {
            heard.push_back(at);
            result.story += " onset@" + std::to_string((at - fromUs) / 1000);
        }
    }
    std::int64_t last = INT64_MIN / 2;
    for (const auto& note : log.notes) {
        result.story += " note@" + std::to_string((note.us - fromUs) / 1000);
        if (std::exchange(last, note.us) >= note.us - kTogetherUs) {
            continue; // it rings into the one before
        }
        if (note.us < fromUs || note.us + bound > toUs) {
            continue;
        }
        ++result.groups;
        const auto it = std::find_if(heard.begin(), heard.end(),
            [&](std::int64_t at) { return at >= note.us - kSlackUs && at <= note.us + bound; });
        if (it == heard.end()) {
            ++result.unheard;
        } else {
            (note.afterRest ? result.afterRestMs : result.inPlayMs)
                .push_back(static_cast<double>(*it - note.us) / 1000);
        }
    }
    for (const std::int64_t at : heard) {
        result.unexplained += std::none_of(log.notes.begin(), log.notes.end(),
            [&](const auto& note) { return note.us >= at - bound && note.us <= at + kSlackUs; });
    }
    return result;
}

} // namespace sound
