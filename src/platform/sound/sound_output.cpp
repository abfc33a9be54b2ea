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

// A sound server named, or its socket where the PulseAudio client looks first.
bool serverPresent()
{
    std::error_code error;
    const auto socket = PulseOutput::serverSocket();
    return std::getenv("PULSE_SERVER") != nullptr || (socket && std::filesystem::exists(*socket, error));
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
    if (serverPresent() || !std::filesystem::exists("/dev/snd", error)
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
        log_.line("dropped");
        return;
    }
    synth_.noteOn(note, velocity);
    if (server_ != nullptr) {
        log_.line("on %d", note);
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
