// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game's sound: the synthesizer and where it plays, the sound server or,
// on a machine without one, the sound card. It says once on stderr why it is
// silent and takes every call all the same, returning at once.
#pragma once

#include "platform/note_output.h"
#include "platform/sound/note_log.h"
#include "platform/sound/synthesizer.h"

#include <memory>

namespace platform {

class PulseOutput;

class SoundOutput : public NoteOutput {
public:
    // Asked of the sound server: its share and the stream's together. The
    // shortest that played the game without a dropout on a machine busy far
    // beyond its two cores (25 ms did not); note-on to sound leaving the
    // server stays within 30 ms. ZINDRA_SOUND_LATENCY_MS overrides it for
    // the measurements.
    static constexpr int kLatencyMs = 30;
    // The sound card directly, where no server runs: FluidSynth's periods.
    static constexpr int kCardPeriodFrames = 256;
    static constexpr int kCardPeriods = 3;

    explicit SoundOutput(const Synthesizer::Options& options);
    ~SoundOutput() override;
    SoundOutput(const SoundOutput&) = delete;
    SoundOutput& operator=(const SoundOutput&) = delete;

    void programChange(int program) override;
    void noteOn(int note, int velocity) override;
    void noteOff(int note) override;

private:
    [[nodiscard]] bool listening() const;

    NoteLog log_;
    Synthesizer synth_;
    std::unique_ptr<PulseOutput> server_; // none while the card plays
};

} // namespace platform
