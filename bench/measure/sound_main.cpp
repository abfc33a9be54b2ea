// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// zindra_sound_measure: the game's sound as a player hears it, taken from the
// recording of a private PulseAudio server's sink, as "name=value" lines.
//
//   zindra_sound_measure GAME SECONDS NOTE_LOG none|broker [realtime-server]
//
// The game runs as a player runs it, without the capability to make itself
// real-time, on a private X server, its notes logged to NOTE_LOG. With
// "broker" the desktop's broker may lend its rendering thread a slot (see
// sound::RealTimeBroker); with "none" it asks for none. Once
// NEU is clicked, its sound module loaded and the stream made and resting: its
// CPU for 10 s, the pointer away. Then SECONDS of play by the robot player, who now
// and then lets a ball go and waits until the stream rests, so that some
// notes come after a rest. The server runs as a desktop runs PulseAudio, its
// main thread (which asks the game for samples) at a raised nice level; with
// "realtime-server" that thread is real-time too, so that only the game's own
// part shows. Every figure comes from the note log's note-ons
// (the game's clock) and the recording's onsets (the same clock):
//
//   slot                  what the rendering thread got in the scheduler
//   cpu_idle_pct          the game's CPU, window open, module loaded, stream resting
//   play_{median,p99,max}_ms, play_notes   note-on to onset, notes in play
//   rest_{median,p99,max}_ms, rest_notes   the same, first notes after a rest
//   unheard, unexplained  notes without an onset, onsets without a note
//   dropouts_per_min      gaps of exact zeros cutting into sound
//   underruns_per_min     the stream running dry, as the server reported it
#include "game_session.h"
#include "pulse_server.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

using namespace support;

constexpr double kIdleMs = 10'000;
constexpr double kPlayBetweenRestsMs = 5'000;
constexpr double kBoundMs = 60; // what still counts as the note's onset

void print(const std::string& name, double value)
{
    std::printf("%s=%.2f\n", name.c_str(), value);
}

// Median, 99th percentile and maximum, and how many.
void printSpread(const std::string& name, std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const auto at = [&](double share) {
        return values.empty() ? -1 : values[static_cast<std::size_t>(std::ceil(share * values.size())) - 1];
    };
    print(name + "_median_ms", at(0.5));
    print(name + "_p99_ms", at(0.99));
    print(name + "_max_ms", at(1));
    print(name + "_notes", static_cast<double>(values.size()));
}

int fail(const std::string& why)
{
    std::fprintf(stderr, "zindra_sound_measure: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        return fail("usage: zindra_sound_measure GAME SECONDS NOTE_LOG none|broker [realtime-server]");
    }
    const std::string notesPath = argv[3];
    sound::PulseServer server(argc > 5 && std::string(argv[5]) == "realtime-server");
    if (!server.start()) {
        return fail("the sound server did not start: " + server.log());
    }
    GameSession game(argv[1]);
    game.runUnder(sound::withoutRealTime());
    game.setEnvironment("PULSE_SERVER=" + server.address());
    game.setEnvironment("ZINDRA_NOTE_LOG=" + notesPath);
    const bool broker = std::string(argv[4]) == "broker";
    const auto realTime = broker ? std::make_unique<sound::RealTimeBroker>() : nullptr;
    game.setEnvironment(
        broker ? "DBUS_SYSTEM_BUS_ADDRESS=" + realTime->address() : "ZINDRA_SOUND_REALTIME=0");
    const auto notes = [&] { return sound::readNoteLog(notesPath); };
    // The first click loads the sound module.
    if (!game.start()
        || (game.clickNeu(), !game.waitFor([&] { return notes().count["connected"] > 0; }, 10'000))) {
        return fail(game.error() + "no stream\n" + game.gameOutput().toStdString());
    }

    game.pointerAway();
    game.pump(1000);
    const double idleFrom = game.cpuMs();
    game.pump(kIdleMs);
    print("cpu_idle_pct", 100.0 * (game.cpuMs() - idleFrom) / kIdleMs);

    if (!server.record()) {
        return fail("cannot record the sound server");
    }
    const std::int64_t from = sound::nowUs();
    const double until = nowMs() + std::atof(argv[2]) * 1000;
    game.newGame();
    while (nowMs() < until && game.running()) {
        game.playUntil(std::min(until, nowMs() + kPlayBetweenRestsMs));
        // The ball goes; once the stream rests the player takes up the game.
        const int rests = notes().count["rest"];
        game.pointerAway();
        (void)game.waitFor([&] { return notes().count["rest"] > rests || nowMs() > until; }, 10'000);
    }
    const std::int64_t to = sound::nowUs();
    if (!game.running()) {
        return fail("the game ended while it was played:\n" + game.gameOutput().toStdString());
    }
    const auto log = notes();
    const auto heard = sound::hear(log, server.stopRecording(), from, to, kBoundMs);
    const double minutes = static_cast<double>(to - from) / 60e6;
    std::printf("slot=%s\n", log.slot.c_str());
    printSpread("play", heard.inPlayMs);
    printSpread("rest", heard.afterRestMs);
    print("unheard", heard.unheard);
    print("unexplained", heard.unexplained);
    print("dropouts_per_min", heard.dropouts / minutes);
    print("underruns_per_min", log.count.contains("underflow") ? log.count.at("underflow") / minutes : 0);
    return 0;
}
