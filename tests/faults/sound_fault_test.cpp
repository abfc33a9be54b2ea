// The synthesizer without sound: no SoundFont to be found, or a file that is
// no SoundFont. It says why, and every call the note player makes returns at
// once, so the game plays on, silent.
#include "platform/sound/synthesizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

[[nodiscard]] double loudest(const std::vector<float>& samples)
{
    double peak = 0.0;
    for (float sample : samples) {
        peak = std::max(peak, std::abs(static_cast<double>(sample)));
    }
    return peak;
}

// The calls of a few of the game's sounds.
void playSounds(platform::Synthesizer& synth)
{
    for (const int note : { 60, 50, 62 }) {
        synth.noteOff(note);
        synth.programChange(13);
        synth.noteOn(note, 127);
    }
}

} // namespace

TEST(SoundFault, WithoutAUsableSoundFontTheSynthesizerSaysWhyAndStaysSilent)
{
    for (const auto& [file, why] : { std::pair { "/nonexistent.sf2", "no General MIDI SoundFont found" },
             { "/etc/hostname", "could not be loaded" } }) {
        SCOPED_TRACE(file);
        platform::Synthesizer::Options options;
        options.soundFonts = { file };
        platform::Synthesizer synth(options);
        playSounds(synth);
        EXPECT_FALSE(synth.hasSound());
        EXPECT_NE(synth.problem().find(why), std::string::npos) << synth.problem();
        EXPECT_EQ(loudest(synth.render(4410)), 0.0);
    }
}
