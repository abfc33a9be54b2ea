// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Where the note player's notes go: the synthesizer, or a recording in tests.
// Kept free of Qt so that the sound module can implement it.
#pragma once

#include <vector>

namespace platform {

class NoteOutput {
public:
    virtual ~NoteOutput() = default;
    virtual void programChange(int program) = 0; // 0..127
    virtual void noteOn(int note, int velocity) = 0;
    virtual void noteOff(int note) = 0;
};

// Keeps every call in order, for tests.
class NoteRecording : public NoteOutput {
public:
    struct Event {
        enum class Kind { Program, On, Off } kind;
        int a; // program or note
        int b; // velocity for On, else 0
        bool operator==(const Event&) const = default;
    };
    void programChange(int program) override { events.push_back({ Event::Kind::Program, program, 0 }); }
    void noteOn(int note, int velocity) override { events.push_back({ Event::Kind::On, note, velocity }); }
    void noteOff(int note) override { events.push_back({ Event::Kind::Off, note, 0 }); }
    std::vector<Event> events;
};

} // namespace platform
