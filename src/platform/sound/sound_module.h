// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What the game finds in the sound module: one function that makes the
// process's note output. The caller owns what it returns.
#pragma once

#include "platform/note_output.h"

#define ZINDRA_SOUND_OPEN "zindra_sound_open"

extern "C" platform::NoteOutput* zindra_sound_open();
using ZindraSoundOpen = platform::NoteOutput* (*)();
