// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The sound module's entry point. The game loads this module at run time,
// at the player's first click, so that FluidSynth, the sound server's client and
// the libraries they bring are not loaded at every start.
#include "platform/sound/sound_module.h"

#include "platform/sound/sound_output.h"

#include <cstdlib>

extern "C" platform::NoteOutput* zindra_sound_open()
{
    platform::Synthesizer::Options options;
    if (const char* path = std::getenv("ZINDRA_SOUNDFONT"); path != nullptr && *path != '\0') {
        // A named SoundFont (or a missing one) instead of the standard places;
        // an empty variable counts as unset.
        options.soundFonts = { path };
    }
    return new platform::SoundOutput(options);
}
