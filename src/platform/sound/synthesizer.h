// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// FluidSynth with a General MIDI SoundFont. It renders on demand: the sound
// output pulls samples from it for the sound server, and tests pull them
// offline to hear it. Without a SoundFont it takes every call and stays silent.
#pragma once

#include "platform/note_output.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

class Synthesizer : public NoteOutput {
public:
    // Until a sound server names its own.
    static constexpr int kSampleRate = 44100;

    struct Options {
        // SoundFont files to try in order; empty: as findSoundFont() looks.
        std::vector<std::string> soundFonts;
        // Channel used for every note.
        int channel = 0;
    };

    explicit Synthesizer(const Options& options);
    ~Synthesizer() override;
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // The first of candidates that exists; without candidates the game's own
    // (beside the program, or installed with it), else the first General MIDI
    // SoundFont found in the standard places. Empty when there is none.
    [[nodiscard]] static std::string findSoundFont(const std::vector<std::string>& candidates = {});

    // True when a SoundFont is loaded (notes make sound).
    [[nodiscard]] bool hasSound() const;
    // Why there is no sound, empty when there is.
    [[nodiscard]] const std::string& problem() const { return problem_; }

    void programChange(int program) override;
    void noteOn(int note, int velocity) override;
    void noteOff(int note) override;

    // Ends every sound at once, reverb and chorus included, and renders at
    // sampleRate from now on: the sound server's own rate, so that it need
    // not resample every note. A new rate means a new FluidSynth (it cannot
    // change its rate while it plays) with the same SoundFont and
    // instrument. From the thread that renders, never while it renders.
    void restart(int sampleRate);
    [[nodiscard]] int sampleRate() const { return sampleRate_; }

    // Renders frames of stereo audio into out, interleaved left/right. Safe
    // from another thread than the one that plays the notes: it never waits
    // for that one.
    void renderInto(float* out, int frames);
    // Offline: the same into a new buffer.
    std::vector<float> render(int frames);

    // Plays through the sound card with FluidSynth's own ALSA driver, for a
    // machine without a sound server. False when there is no card to open.
    bool playThroughCard(int periodFrames, int periods);

private:
    struct Impl;
    [[nodiscard]] std::unique_ptr<Impl> make(int sampleRate);

    std::unique_ptr<Impl> impl_;
    std::string soundFont_;
    std::string problem_;
    int channel_ = 0;
    int sampleRate_ = kSampleRate;
    // Held by the note calls and by restart() while it swaps FluidSynths:
    // only a moment, and never by the rendering.
    std::mutex swap_;
    int program_ = 0;
};

} // namespace platform
