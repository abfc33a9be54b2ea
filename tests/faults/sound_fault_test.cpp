// The game without sound: no SoundFont to be found, or no sound device to
// play on. Either way the note player's calls return at once and the game
// plays on, silent.
#include "faults/scoped_environment.h"
#include "fuzz/opened_game.h"
#include "fuzz/player_input.h"

#include "game/board.h"
#include "platform/globals.h"
#include "platform/synthesizer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kPeriodNs = 4 * fuzz::OpenedGame::kNsPerMs;

[[nodiscard]] double loudest(const std::vector<float>& samples)
{
    double peak = 0.0;
    for (float sample : samples) {
        peak = std::max(peak, std::abs(static_cast<double>(sample)));
    }
    return peak;
}

// Hands every note to the synthesizer and counts them.
class CountedSynthesizer : public platform::NoteOutput {
public:
    explicit CountedSynthesizer(const platform::Synthesizer::Options& options)
        : synth(options)
    {
    }
    void programChange(int program) override { synth.programChange(program); }
    void noteOn(int note, int velocity) override
    {
        ++notesOn;
        synth.noteOn(note, velocity);
    }
    void noteOff(int note) override { synth.noteOff(note); }

    platform::Synthesizer synth;
    int notesOn = 0;
};

// Plays with the paddle under the ball until it has sounded a few notes.
void playUntilNotes(fuzz::OpenedGame& game, const int& notesOn, int wanted)
{
    Fenster1& f = game.f();
    fuzz::PlayerInput hands(f);
    f.neu_Action();
    for (int tick = 0; tick < 20000 && notesOn < wanted; ++tick) {
        if (f.start == 1) {
            hands.moveToWindow(QPoint(20 + 300, 20 + 640));
            hands.click();
        }
        hands.moveToWindow(QPoint(20 + f.ballx + board::kBallHalf, 20 + 640));
        game.wind(kPeriodNs);
    }
}

} // namespace

TEST(SoundFault, WithoutASoundFontTheGamePlaysOnSilently)
{
    platform::Synthesizer::Options options;
    options.soundFonts = { "/nonexistent.sf2" };
    auto output = std::make_shared<CountedSynthesizer>(options);
    EXPECT_NE(output->synth.problem().find("SoundFont"), std::string::npos) << output->synth.problem();

    fuzz::OpenedGame game;
    game.f().control<platform::NotePlayer>("NotePlayer1").setOutput(output);
    const int failures = platform::reportedFailures();
    playUntilNotes(game, output->notesOn, 10);

    EXPECT_GE(output->notesOn, 10);
    EXPECT_GT(game.f().z, 0) << "the ball struck nothing";
    EXPECT_EQ(platform::reportedFailures(), failures);
    EXPECT_EQ(loudest(output->synth.render(4410)), 0.0);
}

// No sound server's socket and no sound card: the synthesizer finds no
// driver, says so, and still takes every note at once.
TEST(SoundFault, WithoutASoundDeviceTheSynthesizerSaysSoAndTheGamePlaysOn)
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

    auto output = std::make_shared<CountedSynthesizer>(platform::Synthesizer::Options {});
    EXPECT_EQ(output->synth.problem(), "no sound device");
    EXPECT_FALSE(output->synth.hasAudioDevice());
    EXPECT_TRUE(output->synth.hasSound());

    fuzz::OpenedGame game;
    game.f().control<platform::NotePlayer>("NotePlayer1").setOutput(output);
    playUntilNotes(game, output->notesOn, 10);
    EXPECT_GE(output->notesOn, 10);
    EXPECT_GT(game.f().z, 0) << "the ball struck nothing";
}
