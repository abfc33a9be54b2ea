// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/sound/sound_output.h"

#include "platform/sound/pulse_output.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace platform {

namespace {

// A sound server's socket is where the PulseAudio client looks first.
bool serverSocketPresent()
{
    if (std::getenv("PULSE_SERVER") != nullptr) {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code error;
    return runtime != nullptr && std::filesystem::exists(std::string(runtime) + "/pulse/native", error);
}

int latencyMs()
{
    const char* text = std::getenv("ZINDRA_SOUND_LATENCY_MS");
    const int value = text != nullptr ? std::atoi(text) : 0;
    return value > 0 ? value : SoundOutput::kLatencyMs;
}

} // namespace

SoundOutput::SoundOutput(const Synthesizer::Options& options)
    : synth_(options)
{
    if (!synth_.hasSound()) {
        std::fprintf(stderr, "zindra: %s; the game plays on without sound\n", synth_.problem().c_str());
        return;
    }
    std::error_code error;
    // The card straight only where no server owns it; otherwise the server,
    // or waiting for one to appear.
    if (serverSocketPresent() || !std::filesystem::exists("/dev/snd", error)
        || !synth_.playThroughCard(kCardPeriodFrames, kCardPeriods)) {
        server_ = std::make_unique<PulseOutput>(synth_, log_, latencyMs());
    }
}

// The server's thread stops before the synthesizer it renders goes.
SoundOutput::~SoundOutput()
{
    server_.reset();
}

bool SoundOutput::listening() const
{
    return server_ == nullptr || server_->listening();
}

void SoundOutput::programChange(int program)
{
    synth_.programChange(program);
}

void SoundOutput::noteOn(int note, int velocity)
{
    // Without a listener the note is dropped: kept, it would sound late, all
    // at once, when a server comes.
    if (!listening()) {
        log_.line("dropped %d", note);
        return;
    }
    synth_.noteOn(note, velocity);
    if (server_ != nullptr) {
        log_.line("on %d %lld", note, static_cast<long long>(server_->latencyUs()));
        server_->noteStarted();
    }
}

void SoundOutput::noteOff(int note)
{
    if (listening()) {
        synth_.noteOff(note);
    }
}

} // namespace platform
