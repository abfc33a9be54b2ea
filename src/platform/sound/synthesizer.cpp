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
#include <mutex>

#ifndef ZINDRA_SOUNDFONT_DIR
#define ZINDRA_SOUNDFONT_DIR "../share/zindra"
#endif

namespace platform {

namespace {

constexpr const char* kOwnSoundFont = "zindra.sf2";

// FluidSynth's own messages would go to stderr unasked; the game says once,
// in its own words, why it is silent.
void quietLog(int /*level*/, const char* /*message*/, void* /*data*/) { }

void silenceFluidSynthLog()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (int level : { FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG }) {
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
    : impl_(std::make_unique<Impl>())
    , channel_(options.channel)
{
    silenceFluidSynthLog();
    const std::string soundFont = findSoundFont(options.soundFonts);
    if (soundFont.empty()) {
        problem_ = "no General MIDI SoundFont found";
        return;
    }
    impl_->settings = new_fluid_settings();
    fluid_settings_setnum(impl_->settings, "synth.sample-rate", kSampleRate);
    // Every sample is loaded with the SoundFont, not when its instrument is
    // chosen: the game chooses one with every sound, and loading then would
    // read the file while the rendering thread waits for the synthesizer.
    fluid_settings_setint(impl_->settings, "synth.dynamic-sample-loading", 0);
    fluid_settings_setint(impl_->settings, "synth.polyphony", 32);
    fluid_settings_setint(impl_->settings, "synth.cpu-cores", 1);
    impl_->synth = new_fluid_synth(impl_->settings);
    if (impl_->synth == nullptr || fluid_synth_sfload(impl_->synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        problem_ = "the SoundFont " + soundFont + " could not be loaded";
        if (impl_->synth != nullptr) {
            delete_fluid_synth(impl_->synth);
            impl_->synth = nullptr;
        }
        return;
    }
    // Loading reads the whole preset table through many small allocations;
    // hand the freed pages back rather than keep them for the whole game.
    malloc_trim(0);
}

Synthesizer::~Synthesizer() = default;

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

void Synthesizer::silence()
{
    if (impl_->synth != nullptr) {
        fluid_synth_all_sounds_off(impl_->synth, -1);
        // The reverb and chorus still hold the tail of the last notes: a
        // second rendered into nothing lets it die away unheard.
        std::vector<float> tail(2 * static_cast<std::size_t>(kSampleRate));
        renderInto(tail.data(), kSampleRate);
    }
}

int Synthesizer::activeVoices() const
{
    return impl_->synth != nullptr ? fluid_synth_get_active_voice_count(impl_->synth) : 0;
}

void Synthesizer::programChange(int program)
{
    if (impl_->synth != nullptr) {
        fluid_synth_program_change(impl_->synth, channel_, program);
    }
}

void Synthesizer::noteOn(int note, int velocity)
{
    if (impl_->synth != nullptr) {
        fluid_synth_noteon(impl_->synth, channel_, note, velocity);
    }
}

void Synthesizer::noteOff(int note)
{
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
