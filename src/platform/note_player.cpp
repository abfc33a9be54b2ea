// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/note_player.h"

namespace platform {

NotePlayer::NotePlayer(Window& window, std::string name, std::int32_t index)
    : Control(window, std::move(name), index)
    , output_(defaultNoteOutput())
{
}

NotePlayer::~NotePlayer() = default;

void NotePlayer::setInstrument(int instrument)
{
    if (instrument < 1 || instrument > 128) {
        return;
    }
    instrument_ = instrument;
    output_->programChange(instrument - 1);
}

void NotePlayer::PlayNote(int note, int velocity)
{
    if (note < 0 || note > 127 || velocity < 0 || velocity > 127) {
        return;
    }
    if (velocity == 0) {
        output_->noteOff(note);
    } else {
        output_->noteOn(note, velocity);
    }
}

void NotePlayer::setOutput(std::shared_ptr<NoteOutput> output)
{
    if (output) {
        output_ = std::move(output);
    }
}

} // namespace platform
