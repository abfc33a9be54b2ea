// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// zindra_sound_measure: the game's sound through a private PulseAudio server
// while a player plays, as "name=value" lines.
//
//   zindra_sound_measure GAME LOG SECONDS [loaded]
//
// The game runs on the X server in DISPLAY with its notes logged; the sink's
// monitor is recorded all along. First the window stays open with no game
// (the stream rests: the game's CPU then), then SECONDS of play, with both
// cores kept busy when "loaded" is given:
//
//   cpu_idle_pct          the game's CPU, window open, no game, 10 s
//   notes                 note-ons that reached the server
//   dropouts_per_min      gaps of exact zeros cutting into sound, recorded
//   underflows_per_min    the stream running dry, as the server reported it
//   latency_ms, latency_max_ms
//                         the stream's buffer plus the sink's latency as the
//                         server reported them at each note, median and worst
//   heard_ms, heard_max_ms, wake_heard_ms
//                         note-on to its onset in the monitor's recording:
//                         median, worst, and the first note after a rest
//   unheard, unexplained  notes without an onset, onsets without a note
#include "game_session.h"
#include "pulse_server.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <fstream>
#include <unistd.h>

namespace {

using namespace support;

constexpr double kIdleS = 10;
constexpr double kBoundMs = 60; // what still counts as the note's onset

void print(const char* name, double value)
{
    std::printf("%s=%.3f\n", name, value);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

double worst(const std::vector<double>& values)
{
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

int fail(const std::string& why)
{
    std::fprintf(stderr, "zindra_sound_measure: %s\n", why.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        return fail("usage: zindra_sound_measure GAME LOG SECONDS [loaded]");
    }
    const std::string program = argv[1];
    const double seconds = std::atof(argv[3]);
    const bool loaded = argc > 4 && std::string(argv[4]) == "loaded";

    sound::PulseServer server;
    if (!server.start()) {
        return fail("the sound server did not start: " + server.log());
    }
    sound::MonitorRecording recording(server.address());
    if (!recording.start()) {
        return fail("cannot record the sound server");
    }
    const std::string notesPath = server.dir() + "/notes.log";
    GameSession game(program);
    game.setEnvironment("PULSE_SERVER=" + server.address());
    game.setEnvironment("ZINDRA_NOTE_LOG=" + notesPath);
    if (!game.start()) {
        return fail(game.error() + "\n" + game.gameOutput().toStdString());
    }

    game.pointerAway();
    game.pump(1000);
    const auto cpuMs = [&game] {
        std::ifstream file("/proc/" + std::to_string(game.pid()) + "/stat");
        std::string line;
        std::getline(file, line);
        unsigned long user = 0;
        unsigned long system = 0;
        std::sscanf(line.c_str() + line.rfind(')') + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system);
        return static_cast<double>(user + system) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    };
    const double idleFrom = cpuMs();
    const double idleFromMs = nowMs();
    game.pump(kIdleS * 1000);
    print("cpu_idle_pct", 100.0 * (cpuMs() - idleFrom) / (nowMs() - idleFromMs));

    const std::int64_t playFrom = sound::nowUs();
    {
        const auto load = loaded ? std::make_unique<BusyLoad>(2) : nullptr;
        game.newGame();
        game.playUntil(nowMs() + seconds * 1000);
    }
    const std::int64_t playTo = sound::nowUs();
    if (!game.running()) {
        return fail("the game ended while it was played:\n" + game.gameOutput().toStdString());
    }
    recording.stop();

    const auto entries = sound::readNoteLog(notesPath);
    const auto alignment = sound::align(entries.notes, recording, playFrom, playTo, kBoundMs);
    std::vector<double> reported;
    for (std::size_t i = 0; i < entries.notes.size(); ++i) {
        if (entries.notes[i] >= playFrom && entries.reportedLatencyUs[i] > 0) {
            reported.push_back(static_cast<double>(entries.reportedLatencyUs[i]) / 1000.0);
        }
    }
    const double minutes = static_cast<double>(playTo - playFrom) / 60e6;
    print("notes", static_cast<double>(entries.notes.size()));
    print("dropouts_per_min", sound::dropouts(recording.frames()) / minutes);
    print("underflows_per_min", entries.underflows / minutes);
    print("latency_ms", median(reported));
    print("latency_max_ms", worst(reported));
    print("heard_ms", median(alignment.delaysMs));
    print("heard_max_ms", worst(alignment.delaysMs));
    print("wake_heard_ms", alignment.delaysMs.empty() ? -1 : alignment.delaysMs.front());
    print("unheard", alignment.groups - alignment.matched);
    print("unexplained", alignment.unexplained);
    return 0;
}
