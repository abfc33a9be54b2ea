// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/sound/synthesizer.h"

#include "platform/program_files.h"

#include <fluidsynth.h>
#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <mutex>

#ifndef ZINDRA_SOUNDFONT_DIR
#define ZINDRA_SOUNDFONT_DIR "../share/zindra"
#endif

namespace platform {

namespace {

constexpr const char* kOwnSoundFont = "zindra.sf2";

// FluidSynth's errors and panics go to stderr as it writes them: they say
// what went wrong inside it. Its warnings and chatter stay unsaid: the game's
// own SoundFont holds only the game's instruments, and FluidSynth would warn
// of every other one it looks for.
void quietLog(int /*level*/, const char* /*message*/, void* /*data*/) { }

void quietenFluidSynthChatter()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : { FLUID_WARN, FLUID_INFO, FLUID_DBG }) {
            fluid_set_log_function(level, quietLog, nullptr);
        }
    });
}

bool exists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

} // namespace

struct Synthesizer::Impl {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    fluid_audio_driver_t* driver = nullptr;

    ~Impl()
    {
        if (driver != nullptr) {
            delete_fluid_audio_driver(driver);
        }
        if (synth != nullptr) {
            delete_fluid_synth(synth);
        }
        if (settings != nullptr) {
            delete_fluid_settings(settings);
        }
    }
};

std::string Synthesizer::findSoundFont(const std::vector<std::string>& candidates)
{
    if (!candidates.empty()) {
        for (const auto& path : candidates) {
            if (exists(path)) {
                return path;
            }
        }
        return {};
    }
    // The game's own, cut to its instruments: beside the program in the build
    // tree, or where the package installs it, relative to the program.
    for (const auto& path : programFileCandidates(kOwnSoundFont, ZINDRA_SOUNDFONT_DIR)) {
        if (exists(path)) {
            return path;
        }
    }
    for (const char* path : { "/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/TimGM6mb.sf2",
             "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/soundfonts/default.sf2",
             "/usr/share/soundfonts/FluidR3_GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3" }) {
        if (exists(path)) {
            return path;
        }
    }
    return {};
}

Synthesizer::Synthesizer(const Options& options)
    : channel_(options.channel)
{
    quietenFluidSynthChatter();
    soundFont_ = findSoundFont(options.soundFonts);
    if (soundFont_.empty()) {
        problem_ = "no General MIDI SoundFont found";
        impl_ = std::make_unique<Impl>();
        return;
    }
    impl_ = make(kSampleRate);
    if (impl_->synth == nullptr) {
        problem_ = "the SoundFont " + soundFont_ + " could not be loaded";
    }
    // Loading reads the whole preset table through many small allocations;
    // hand the freed pages back rather than keep them for the whole game.
    malloc_trim(0);
}

Synthesizer::~Synthesizer() = default;

std::unique_ptr<Synthesizer::Impl> Synthesizer::make(int sampleRate)
{
    auto impl = std::make_unique<Impl>();
    impl->settings = new_fluid_settings();
    fluid_settings_setnum(impl->settings, "synth.sample-rate", sampleRate);
    // Every sample is loaded with the SoundFont, not when its instrument is
    // chosen: the game chooses one with every sound, and loading then would
    // read the file while the rendering thread waits for the synthesizer.
    fluid_settings_setint(impl->settings, "synth.dynamic-sample-loading", 0);
    fluid_settings_setint(impl->settings, "synth.polyphony", 32);
    fluid_settings_setint(impl->settings, "synth.cpu-cores", 1);
    impl->synth = new_fluid_synth(impl->settings);
    if (impl->synth != nullptr && fluid_synth_sfload(impl->synth, soundFont_.c_str(), 1) == FLUID_FAILED) {
        delete_fluid_synth(impl->synth);
        impl->synth = nullptr;
    }
    return impl;
}

bool Synthesizer::hasSound() const
{
    return impl_->synth != nullptr;
}

bool Synthesizer::playThroughCard(int periodFrames, int periods)
{
    if (impl_->synth == nullptr) {
        return false;
    }
    fluid_settings_setint(impl_->settings, "audio.period-size", periodFrames);
    fluid_settings_setint(impl_->settings, "audio.periods", periods);
    fluid_settings_setstr(impl_->settings, "audio.driver", "alsa");
    impl_->driver = new_fluid_audio_driver(impl_->settings, impl_->synth);
    return impl_->driver != nullptr;
}

void Synthesizer::restart(int sampleRate)
{
    if (impl_->synth == nullptr) {
        return;
    }
    if (sampleRate == sampleRate_) {
        // Notes, reverb and chorus end; the channel's instrument is put back.
        fluid_synth_system_reset(impl_->synth);
        const std::lock_guard lock(swap_);
        fluid_synth_program_change(impl_->synth, channel_, program_);
        return;
    }
    // Read on a thread of its own: a large SoundFont takes longer than a
    // real-time thread may run without a pause.
    auto fresh = std::async(std::launch::async, [&] { return make(sampleRate); }).get();
    if (fresh->synth == nullptr) {
        return; // the SoundFont went away since: the old rate plays on
    }
    {
        const std::lock_guard lock(swap_);
        fluid_synth_program_change(fresh->synth, channel_, program_);
        std::swap(impl_, fresh);
        sampleRate_ = sampleRate;
    }
    fresh.reset(); // the old one, outside the lock
    malloc_trim(0);
}

void Synthesizer::programChange(int program)
{
    const std::lock_guard lock(swap_);
    program_ = program;
    if (impl_->synth != nullptr) {
        fluid_synth_program_change(impl_->synth, channel_, program);
    }
}

void Synthesizer::noteOn(int note, int velocity)
{
    const std::lock_guard lock(swap_);
    if (impl_->synth != nullptr) {
        fluid_synth_noteon(impl_->synth, channel_, note, velocity);
    }
}

void Synthesizer::noteOff(int note)
{
    const std::lock_guard lock(swap_);
    if (impl_->synth != nullptr) {
        fluid_synth_noteoff(impl_->synth, channel_, note);
    }
}

void Synthesizer::renderInto(float* out, int frames)
{
    if (impl_->synth == nullptr) {
        std::fill(out, out + 2 * static_cast<std::ptrdiff_t>(frames), 0.0f);
        return;
    }
    fluid_synth_write_float(impl_->synth, frames, out, 0, 2, out, 1, 2);
}

std::vector<float> Synthesizer::render(int frames)
{
    std::vector<float> samples(static_cast<std::size_t>(std::max(frames, 0)) * 2, 0.0f);
    if (frames > 0) {
        renderInto(samples.data(), frames);
    }
    return samples;
}

} // namespace platform
