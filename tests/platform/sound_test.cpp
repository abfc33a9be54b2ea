// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The note player: instruments and notes, and the synthesizer rendering
// them offline, also without a usable SoundFont.
#include "platform/note_player.h"
#include "platform/sound/synthesizer.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using Event = platform::NoteRecording::Event;
using Kind = Event::Kind;

namespace {

double rms(const std::vector<float>& samples)
{
    const double sum = std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
    return samples.empty() ? 0.0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

} // namespace

TEST(NotePlayer, InstrumentNSelectsProgramNMinusOneAndVelocityZeroEndsTheNote)
{
    platform::Window window;
    auto& player = window.add<platform::NotePlayer>("NotePlayer1", platform::kNoIndex);
    auto recording = std::make_shared<platform::NoteRecording>();
    player.setOutput(recording);
    player.PlayNote(60, 0);
    player.setInstrument(14);
    player.PlayNote(60, 127);
    player.setInstrument(128);
    player.setInstrument(0); // out of range: ignored
    player.PlayNote(128, 127); // ignored
    const std::vector<Event> expected = { { Kind::Off, 60, 0 }, { Kind::Program, 13, 0 },
        { Kind::On, 60, 127 }, { Kind::Program, 127, 0 } };
    EXPECT_EQ(recording->events, expected);
    EXPECT_EQ(player.instrument(), 128);
}

// Instruments 14 and 128 sound and die away, also after a restart at
// another rate; without a usable SoundFont the
// synthesizer says why, takes every call and stays silent: the game plays on.
TEST(Synthesizer, SoundsWithASoundFontAndSaysWhyItIsSilentWithout)
{
    for (const auto& [file, why] :
        { std::pair { "", "" }, { "/nonexistent.sf2", "no General MIDI SoundFont found" },
            { "/etc/hostname", "could not be loaded" } }) {
        SCOPED_TRACE(file);
        platform::Synthesizer synth({ .soundFonts
            = { *file != '\0' ? std::vector<std::string> { file } : std::vector<std::string> {} } });
        if (*why == '\0' && !synth.hasSound()) {
            GTEST_SKIP() << "no General MIDI SoundFont installed";
        }
        EXPECT_NE(synth.problem().find(why), std::string::npos) << synth.problem();
        for (const auto& [instrument, rate] : { std::pair { 14, 44100 }, { 128, 48000 } }) {
            synth.restart(rate); // the second time a new FluidSynth at a sound server's rate
            EXPECT_LT(rms(synth.render(4410)), 1e-5); // silence before the note, whatever rang before
            synth.programChange(instrument - 1);
            synth.noteOn(60, 127);
            const double playing = rms(synth.render(4410));
            EXPECT_EQ(playing > 1e-3, synth.hasSound()) << "instrument " << instrument;
            synth.noteOff(60);
            synth.render(44100 * 3); // the release dies away
            EXPECT_LE(rms(synth.render(4410)), playing / 50) << "instrument " << instrument;
        }
    }
}
