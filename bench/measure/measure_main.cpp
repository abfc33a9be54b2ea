// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// zindra_measure: runs a program on a private X server, plays it the way a
// player does, and prints what it measured as "name=value" lines.
//
//   zindra_measure start PROGRAM    start-up and memory of any program with one
//                                   window (the game, or the empty window)
//   zindra_measure session GAME     the same, then CPU idle and in play, screen
//                                   updates, memory after play
//   zindra_measure ticks PROBE      ticks per second in play, on a quiet machine
//                                   and with every core busy (PROBE: the game
//                                   built with the tick probe)
//
// MEASURE_SCALE shortens every stage for a quick look (0.2: a fifth of each).
#include "game_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

namespace {

using support::GameSession;
using support::nowMs;

// Seconds of each stage.
constexpr double kSettleS = 1; // after the first frame, before anything is read
constexpr double kIdleS = 15; // window open, no game
constexpr double kPlayS = 20; // memory is read at the end
constexpr double kCpuS = 15; // the last part of the play: CPU and updates
constexpr double kTickWarmS = 1;
constexpr double kTickS = 5; // each of the two tick windows
// The game draws its first frame in one go: drawing that pauses this long is done.
constexpr double kCompleteQuietMs = 300;

double scaledMs(double seconds)
{
    const char* scale = std::getenv("MEASURE_SCALE");
    return seconds * 1000 * (scale != nullptr && std::atof(scale) > 0 ? std::atof(scale) : 1.0);
}

void print(const char* name, double value)
{
    std::printf("%s=%.3f\n", name, value);
    std::fflush(stdout);
}

int fail(const GameSession& game, const std::string& why)
{
    std::fprintf(stderr, "zindra_measure: %s\n%s", why.c_str(), game.gameOutput().toStdString().c_str());
    return 1;
}

// A process's resident memory (MB), as ps reads it.
double residentMb(pid_t pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/statm");
    long size = 0;
    long resident = 0;
    file >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A stretch of play with the game's CPU time and screen updates counted.
struct Stretch {
    double fromMs = 0;
    double toMs = 0;
    double cpuPercent = 0;
    double updatesPerSecond = 0;
};
template <class Play> Stretch measured(GameSession& game, Play&& play)
{
    const double fromMs = nowMs();
    const double cpuFrom = game.cpuMs();
    const auto updatesFrom = game.updates().size();
    play();
    const double toMs = nowMs();
    return { fromMs, toMs, 100.0 * (game.cpuMs() - cpuFrom) / (toMs - fromMs),
        static_cast<double>(game.updates().size() - updatesFrom) * 1000.0 / (toMs - fromMs) };
}

// The intervals between the screen updates of a stretch on the server's
// clock: median, 1st and 99th percentile, the share more than 2 ms off Xvfb's
// refresh period, and the share that came exactly one vertical blank after
// the update before (a new frame at each refresh).
void printFrames(const GameSession& game, const Stretch& stretch)
{
    const auto from = static_cast<std::size_t>(
        std::lower_bound(game.updates().begin(), game.updates().end(), stretch.fromMs) - game.updates().begin());
    std::vector<double> ms(game.updatesOnServer().begin() + static_cast<std::ptrdiff_t>(from), game.updatesOnServer().end());
    std::adjacent_difference(ms.begin(), ms.end(), ms.begin());
    std::sort(ms.begin() + 1, ms.end());
    for (const auto& [name, share] :
        { std::pair { "frame_median_ms", 0.5 }, { "frame_p1_ms", 0.01 }, { "frame_p99_ms", 0.99 } }) {
        print(name, ms[1 + static_cast<std::size_t>(share * static_cast<double>(ms.size() - 2))]);
    }
    const auto off
        = std::count_if(ms.begin() + 1, ms.end(), [](double m) { return std::abs(m - 1000.0 / 60) > 2; });
    print("frames_off_pct", 100.0 * static_cast<double>(off) / static_cast<double>(ms.size() - 1));
    print("frames_in_step_pct",
        100.0 * static_cast<double>(game.updatesInStep(from)) / static_cast<double>(ms.size() - 1));
}

// The ball waits on the paddle and the pointer jumps across the board: the
// last screen update that follows shows the paddle at its new place.
void printPointerToPaddle(GameSession& game)
{
    game.newGame();
    std::vector<double> ms;
    for (int i = 0; i < 21; ++i) {
        const double movedAt = nowMs();
        game.moveTo(support::onBoard(i % 2 == 0 ? 150 : 450, 500));
        game.pump(100 + i); // each move at another phase of the refresh
        ms.push_back(game.updates().back() - movedAt);
    }
    std::sort(ms.begin(), ms.end());
    print("pointer_to_paddle_ms", ms[ms.size() / 2]);
}

// Start to the window mapped, to its first drawing and to its first complete
// frame, and the memory once it has settled.
void printStart(GameSession& game)
{
    print("start_to_map_ms", game.mappedAt() - game.startedAt());
    print("start_to_frame_ms", game.updates().front() - game.startedAt());
    const double settled = nowMs() + scaledMs(kSettleS);
    (void)game.waitFor([&] { return nowMs() - game.lastDrawnAt() >= kCompleteQuietMs; }, settled - nowMs());
    print("start_to_complete_ms", game.lastDrawnAt() - game.startedAt());
    game.pointerAway();
    game.pump(std::max(0.0, settled - nowMs()));
    print("rss_start_mb", residentMb(game.pid()));
}

int session(const std::string& program, bool playToo)
{
    GameSession game(program);
    if (!game.start()) {
        return fail(game, game.error());
    }
    printStart(game);
    if (!playToo) {
        return 0;
    }
    const Stretch idle = measured(game, [&] { game.pump(scaledMs(kIdleS)); });
    print("cpu_idle_pct", idle.cpuPercent);
    print("updates_idle_per_s", idle.updatesPerSecond);
    printPointerToPaddle(game);

    const double playTo = nowMs() + scaledMs(kPlayS);
    game.newGame();
    game.playUntil(playTo - scaledMs(kCpuS));
    const Stretch inPlay = measured(game, [&] { game.playUntil(playTo); });
    // A player who never launched a ball never saw one: the figures would be
    // of a game at rest, not of play.
    if (!game.running() || game.player().launches() == 0) {
        return fail(game, "the game ended, or the player found no ball to launch");
    }
    print("cpu_play_pct", inPlay.cpuPercent);
    print("updates_play_per_s", inPlay.updatesPerSecond);
    printFrames(game, inPlay);
    print("rss_play_mb", residentMb(game.pid()));
    print("launches", game.player().launches());
    print("new_games", game.player().newGames());
    return 0;
}

// The probe's reports: "<ticks delivered> <timer enabled 0|1> <CLOCK_MONOTONIC ns>"
// ten times a second. Ticks count only between two reports that both saw the
// timer running: a ball waiting on the paddle stops the timer, and that time
// must not count against the tick rate.
struct TickCount {
    int fd = -1;
    std::string partial;
    long long lastTicks = -1;
    bool lastRunning = false;
    double lastMs = 0;
    double ticks = 0;
    double ranMs = 0;

    void read()
    {
        char buffer[4096];
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;) {
            partial.append(buffer, static_cast<std::size_t>(got));
        }
        for (std::size_t end; (end = partial.find('\n')) != std::string::npos; partial.erase(0, end + 1)) {
            long long count = 0;
            int running = 0;
            long long atNs = 0;
            if (std::sscanf(partial.c_str(), "%lld %d %lld", &count, &running, &atNs) != 3) {
                continue;
            }
            const double atMs = static_cast<double>(atNs) / 1e6;
            if (running != 0 && lastRunning && lastTicks >= 0) {
                ticks += static_cast<double>(count - lastTicks);
                ranMs += atMs - lastMs;
            }
            lastTicks = count;
            lastRunning = running != 0;
            lastMs = atMs;
        }
    }
};

// Plays a warm-up, then a window of kTickS; prints the rate, the running time
// it rests on, the screen updates and the game's CPU.
void tickWindow(GameSession& game, TickCount& probe, const std::string& name)
{
    const auto read = [&probe] { probe.read(); };
    game.playUntil(nowMs() + scaledMs(kTickWarmS), read);
    const double ticksFrom = probe.ticks;
    const double ranFrom = probe.ranMs;
    const Stretch stretch = measured(game, [&] { game.playUntil(nowMs() + scaledMs(kTickS), read); });
    print(("ticks_" + name + "_per_s").c_str(), (probe.ticks - ticksFrom) * 1000.0 / (probe.ranMs - ranFrom));
    print(("ticks_" + name + "_ran_s").c_str(), (probe.ranMs - ranFrom) / 1000.0);
    print(("updates_" + name + "_per_s").c_str(), stretch.updatesPerSecond);
    print(("cpu_" + name + "_pct").c_str(), stretch.cpuPercent);
}

int ticks(const std::string& program)
{
    int pipeFds[2] = { -1, -1 };
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return 1;
    }
    TickCount probe;
    probe.fd = pipeFds[0];
    GameSession game(program);
    game.setEnvironment("ZINDRA_PROBE_FD=" + std::to_string(pipeFds[1]));
    game.keepOpen(pipeFds[1]);
    const bool started = game.start();
    close(pipeFds[1]);
    if (!started) {
        return fail(game, game.error());
    }
    game.newGame();
    tickWindow(game, probe, "quiet");
    {
        // Every core spinning, the game's among them: children that only burn CPU.
        std::vector<support::ChildProcess> load(
            static_cast<std::size_t>(std::max(2L, sysconf(_SC_NPROCESSORS_ONLN))));
        for (auto& hog : load) {
            hog.start({});
        }
        tickWindow(game, probe, "loaded");
    }
    return game.running() ? 0 : fail(game, "the probe game ended");
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc == 3 ? argv[1] : "";
    if (mode == "start" || mode == "session") {
        return session(argv[2], mode == "session");
    }
    if (mode == "ticks") {
        return ticks(argv[2]);
    }
    std::fprintf(stderr, "usage: %s start|session|ticks PROGRAM\n", argv[0]);
    return 2;
}
