// A General MIDI note player on one channel.
//
// Instrument n (1..128) selects General MIDI program n - 1. PlayNote with
// velocity 0 ends the note, any other velocity starts it. Both return at once.
// With no SoundFont or no sound device the calls do nothing and the game plays
// on; the reason is said once on stderr.
#pragma once

#include "platform/control.h"

#include <memory>
#include <string>
#include <vector>

namespace platform {

// Where the notes go: the synthesizer, or a recording in tests.
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

// The process's synthesizer, made on first use: FluidSynth with the first
// General MIDI SoundFont found, playing through its own audio driver with a
// short buffer. Never null; silent when there is no SoundFont or no device.
[[nodiscard]] std::shared_ptr<NoteOutput> defaultNoteOutput();
// Starts the synthesizer ahead of the first note (the application calls it
// once the window shows, so that the first note does not wait for it).
void prepareDefaultNoteOutput();

} // namespace platform
