// FluidSynth behind the note player. Also usable offline: without an audio
// driver the caller pulls rendered samples, which is how tests hear it.
#pragma once

#include "platform/note_player.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

class Synthesizer : public NoteOutput {
public:
    struct Options {
        // SoundFont files to try in order; empty: the standard places.
        std::vector<std::string> soundFonts;
        // Play through an audio driver (false: render offline with render()).
        bool withAudioDriver = true;
        // Channel used for every note.
        int channel = 0;
    };

    explicit Synthesizer(const Options& options);
    ~Synthesizer() override;
    Synthesizer(const Synthesizer&) = delete;
    Synthesizer& operator=(const Synthesizer&) = delete;

    // The first GM SoundFont found in the standard places, or empty.
    [[nodiscard]] static std::string findSoundFont(const std::vector<std::string>& candidates = {});

    // True when a SoundFont is loaded (notes make sound).
    [[nodiscard]] bool hasSound() const;
    // True when an audio driver plays the output.
    [[nodiscard]] bool hasAudioDevice() const;
    // Why there is no sound, empty when there is.
    [[nodiscard]] const std::string& problem() const { return problem_; }

    void programChange(int program) override;
    void noteOn(int note, int velocity) override;
    void noteOff(int note) override;

    // Offline: renders frames of stereo audio, interleaved left/right.
    std::vector<float> render(int frames);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string problem_;
    int channel_ = 0;
};

} // namespace platform
