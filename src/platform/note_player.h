// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A General MIDI note player on one channel.
//
// Instrument n (1..128) selects General MIDI program n - 1. PlayNote with
// velocity 0 ends the note, any other velocity starts it. Both return at once.
// With no SoundFont or no sound device the calls do nothing and the game plays
// on; the reason is said once on stderr.
#pragma once

#include "platform/control.h"
#include "platform/note_output.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

class NotePlayer : public Control {
public:
    NotePlayer(Window& window, std::string name, std::int32_t index = kNoIndex);
    ~NotePlayer() override;

    // General MIDI instrument 1..128; other values are ignored.
    void setInstrument(int instrument);
    [[nodiscard]] int instrument() const { return instrument_; }
    // Notes outside 0..127 and velocities outside 0..127 are ignored.
    void PlayNote(int note, int velocity);

    // The output the notes go to; by default the process's synthesizer.
    void setOutput(std::shared_ptr<NoteOutput> output);
    [[nodiscard]] NoteOutput& output() const { return *output_; }

private:
    int instrument_ = 1;
    std::shared_ptr<NoteOutput> output_;
};

// The process's synthesizer, made on first use: the sound module (FluidSynth
// with the first General MIDI SoundFont found, playing through the sound
// server or the sound card) loaded at run time. Never null; silent when the
// module, a SoundFont or a device is missing.
[[nodiscard]] std::shared_ptr<NoteOutput> defaultNoteOutput();
// Loads the sound module and starts the synthesizer ahead of the first note
// (the application calls it once the window shows, so that neither the start
// nor the first note waits for it).
void prepareDefaultNoteOutput();

} // namespace platform
