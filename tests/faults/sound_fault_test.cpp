// The synthesizer without sound: no SoundFont to be found, a file that is no
// SoundFont, or no sound device to play on. It says why, and every call the
// note player makes returns at once, so the game plays on, silent.
#include "faults/scoped_environment.h"
#include "platform/synthesizer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
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

// No sound server's socket and no sound card: the synthesizer finds no
// driver, says so, and still takes every note.
TEST(SoundFault, WithoutASoundDeviceTheSynthesizerSaysSoAndStillTakesEveryNote)
{
    if (std::filesystem::exists("/dev/snd")) {
        GTEST_SKIP() << "this machine has a sound card; the test needs one without";
    }
    if (platform::Synthesizer::findSoundFont().empty()) {
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    }
    const QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    const ScopedEnvironment noServer("PULSE_SERVER", nullptr);
    const ScopedEnvironment noSockets("XDG_RUNTIME_DIR", empty.path().toLocal8Bit().constData());

    platform::Synthesizer synth(platform::Synthesizer::Options {});
    EXPECT_EQ(synth.problem(), "no sound device");
    EXPECT_FALSE(synth.hasAudioDevice());
    ASSERT_TRUE(synth.hasSound());
    playSounds(synth);
    EXPECT_GT(loudest(synth.render(4410)), 0.0) << "the notes reach the synthesizer all the same";
}
