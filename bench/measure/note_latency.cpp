// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// zindra_note_latency: how soon a note the game plays is heard, worked out on
// the game's own synthesizer rendering offline (no sound device needed).
//
// For each of the game's sounds it plays the note as the game does (note-off,
// instrument, note-on) and renders in small blocks until the first sample a
// 16-bit output would not round to zero. bench/sound.sh adds this onset to the
// latency the sound server reports. Prints "name=value":
//
//   synth_start_ms         making the synthesizer: the SoundFont is read
//   first_note_ms          the first sound's calls (its instrument is loaded then)
//   note_calls_us          the calls of one sound, median
//   switch_calls_us        the same when the instrument changes each time, median
//   onset_ms_<sound>       note-on to its first audible sample, in audio time, median
//   onset_compute_us       note-on until the period holding that sample is rendered
#include "platform/sound/synthesizer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 44100;
constexpr int kPeriod = 64; // frames rendered at a time: the onset's resolution
constexpr float kAudible = 1.0f / 32768.0f; // one step of 16-bit output
constexpr int kRepeats = 21;
constexpr int kMaxOnsetFrames = kSampleRate / 2; // a sound silent this long has none
constexpr int kLetRingFrames = kSampleRate; // between two measured notes

struct Sound {
    const char* name;
    int instrument; // as the game numbers them, 1..128
    int note;
};

// The sounds of the game: edges and obstacle, a lost ball, the paddle, a stone.
constexpr Sound kSounds[]
    = { { "edge", 14, 60 }, { "loss", 14, 50 }, { "paddle", 14, 62 }, { "stone", 128, 62 } };

using Clock = std::chrono::steady_clock;

double microseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The game's sound: note-off, instrument, note-on at full velocity.
void play(platform::Synthesizer& synth, const Sound& sound)
{
    synth.noteOff(sound.note);
    synth.programChange(sound.instrument - 1);
    synth.noteOn(sound.note, 127);
}

// Frames rendered until the first audible sample; -1 when none came.
int framesToOnset(platform::Synthesizer& synth)
{
    for (int done = 0; done < kMaxOnsetFrames; done += kPeriod) {
        const auto samples = synth.render(kPeriod);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (std::fabs(samples[i]) >= kAudible) {
                return done + static_cast<int>(i / 2); // stereo: two samples a frame
            }
        }
    }
    return -1;
}

void letRing(platform::Synthesizer& synth, const Sound& sound)
{
    synth.noteOff(sound.note);
    for (int done = 0; done < kLetRingFrames; done += kPeriod) {
        (void)synth.render(kPeriod);
    }
}

void print(const std::string& name, double value)
{
    std::printf("%s=%.3f\n", name.c_str(), value);
}

} // namespace

int main()
{
    platform::Synthesizer::Options options;
    const auto made = Clock::now();
    platform::Synthesizer synth(options);
    const auto ready = Clock::now();
    if (!synth.hasSound()) {
        std::fprintf(stderr, "zindra_note_latency: %s\n", synth.problem().c_str());
        return 1;
    }
    print("synth_start_ms", microseconds(made, ready) / 1000);
    (void)synth.render(kPeriod);

    const auto firstFrom = Clock::now();
    play(synth, kSounds[0]);
    print("first_note_ms", microseconds(firstFrom, Clock::now()) / 1000);
    letRing(synth, kSounds[0]);

    std::vector<double> calls;
    std::vector<double> computes;
    for (const Sound& sound : kSounds) {
        std::vector<double> onsets;
        for (int i = 0; i < kRepeats; ++i) {
            const auto from = Clock::now();
            play(synth, sound);
            const auto played = Clock::now();
            const int frames = framesToOnset(synth);
            const auto heard = Clock::now();
            letRing(synth, sound);
            if (frames < 0) {
                continue;
            }
            calls.push_back(microseconds(from, played));
            computes.push_back(microseconds(played, heard));
            onsets.push_back(1000.0 * frames / kSampleRate);
        }
        print(std::string("onset_ms_") + sound.name, onsets.empty() ? -1 : median(onsets));
    }
    print("note_calls_us", median(calls));
    print("onset_compute_us", median(computes));

    // The edge sound and the stone sound one after the other, as a stone hit
    // near the top edge makes them: the instrument changes every time.
    std::vector<double> switches;
    for (int i = 0; i < kRepeats; ++i) {
        const Sound& sound = kSounds[i % 2 == 0 ? 3 : 0];
        const auto from = Clock::now();
        play(synth, sound);
        switches.push_back(microseconds(from, Clock::now()));
        (void)synth.render(kPeriod);
    }
    print("switch_calls_us", median(switches));
    return 0;
}
