// zindra_measure: runs the real game on the X server in DISPLAY, plays it the
// way a player does, and prints what it measured as "name=value" lines.
//
//   zindra_measure session GAME LOG   start-up, memory, CPU idle and in play,
//                                     screen updates
//   zindra_measure start PROGRAM LOG  start-up and memory of any program with
//                                     one window (the game, or the empty
//                                     window it is compared with)
//   zindra_measure ticks PROBE LOG    ticks per second in play, on a quiet
//                                     machine and with every core busy
//                                     (PROBE: the game built with the tick probe)
//
// The game's own output goes to LOG. Durations can be shortened for a quick
// look with MEASURE_SCALE (0.2: a fifth of each).
#include "child_process.h"
#include "play_session.h"
#include "proc_stats.h"
#include "tick_reader.h"
#include "x_game.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace measure;

// Seconds of each stage.
constexpr double kSettleS = 1; // after the first frame, before anything is read
constexpr double kIdleS = 15; // window open, no game
constexpr double kPlayS = 20; // memory is read at the end
constexpr double kCpuS = 15; // the last part of the play: CPU and updates
constexpr double kTickWarmS = 1;
constexpr double kTickS = 5; // each of the two tick windows

double scaled(double seconds)
{
    static const double scale = [] {
        const char* text = std::getenv("MEASURE_SCALE");
        const double value = text != nullptr ? std::atof(text) : 1.0;
        return value > 0 ? value : 1.0;
    }();
    return seconds * scale;
}

void print(const char* name, double value)
{
    std::printf("%s=%.3f\n", name, value);
    std::fflush(stdout);
}

int fail(const std::string& why)
{
    std::fprintf(stderr, "zindra_measure: %s\n", why.c_str());
    return 1;
}

// A process's CPU time and the wall clock, read together.
struct CpuMark {
    double wallMs = 0;
    std::int64_t ticks = 0;
};
CpuMark cpuMark(pid_t pid)
{
    return { nowMs(), cpuTicks(pid).value_or(0) };
}
double cpuPercent(const CpuMark& from, const CpuMark& to)
{
    const double cpuMs
        = static_cast<double>(to.ticks - from.ticks) * 1000.0 / static_cast<double>(ticksPerSecond());
    return 100.0 * cpuMs / (to.wallMs - from.wallMs);
}

double megabytes(std::int64_t kb)
{
    return static_cast<double>(kb) / 1024.0;
}

double perSecond(std::int64_t count, double fromMs, double toMs)
{
    return static_cast<double>(count) * 1000.0 / (toMs - fromMs);
}

// A stretch of play with the game's CPU time and screen updates counted.
struct Stretch {
    CpuMark from;
    CpuMark to;
    std::int64_t updates = 0;
};

template <class Play> Stretch measured(XGame& x, pid_t pid, Play&& play)
{
    Stretch stretch;
    stretch.from = cpuMark(pid);
    const auto updates = x.updates();
    play();
    stretch.to = cpuMark(pid);
    stretch.updates = x.updates() - updates;
    return stretch;
}

// How long the window drawing goes on after the first frame before it counts
// as complete: the game draws its window in one go, so a pause this long
// means it is done.
constexpr double kCompleteQuietMs = 300;

// Start to the window mapped, to its first drawing and to its first complete
// frame, and the memory once it has settled.
void printStart(XGame& x, PlaySession& play, ChildProcess& program)
{
    print("start_to_map_ms", *x.mappedAt() - play.startedAt());
    print("start_to_frame_ms", *x.firstDrawnAt() - play.startedAt());
    const double deadline = nowMs() + scaled(kSettleS) * 1000;
    while (nowMs() < deadline && nowMs() - *x.lastDrawnAt() < kCompleteQuietMs) {
        x.pump(20);
    }
    print("start_to_complete_ms", *x.lastDrawnAt() - play.startedAt());
    play.idle(std::max(0.0, deadline - nowMs()));
    print("rss_start_mb", megabytes(residentKb(program.pid()).value_or(0)));
}

// The start-up of any program with one window; then, for the game, idle and play.
int session(const std::string& program, const std::string& log, bool playToo = true)
{
    XGame x;
    if (!x.connected()) {
        return fail(x.error());
    }
    ChildProcess game;
    PlaySession play(x, game);
    if (!play.start(program, log)) {
        return fail(program + " showed no window (see " + log + ")");
    }
    printStart(x, play, game);
    if (!playToo) {
        return 0;
    }

    const Stretch idle = measured(x, game.pid(), [&] { play.idle(scaled(kIdleS) * 1000); });
    print("cpu_idle_pct", cpuPercent(idle.from, idle.to));
    print("updates_idle_per_s", perSecond(idle.updates, idle.from.wallMs, idle.to.wallMs));

    const double playTo = nowMs() + scaled(kPlayS) * 1000;
    play.newGame();
    play.playUntil(playTo - scaled(kCpuS) * 1000);
    const Stretch inPlay = measured(x, game.pid(), [&] { play.playUntil(playTo); });
    if (!game.running()) {
        return fail("the game ended while it was played (see " + log + ")");
    }
    // A player who never launched a ball never saw one: the figures would be
    // of a game at rest, not of play.
    if (play.player().launches() == 0) {
        return fail("the player found no ball to launch on the board (see " + log + ")");
    }
    print("cpu_play_pct", cpuPercent(inPlay.from, inPlay.to));
    print("updates_play_per_s", perSecond(inPlay.updates, inPlay.from.wallMs, inPlay.to.wallMs));
    print("rss_play_mb", megabytes(residentKb(game.pid()).value_or(0)));
    print("launches", play.player().launches());
    print("new_games", play.player().newGames());
    return 0;
}

// Plays a warm-up, then a window of kTickS; the probe's reports are read all along.
Stretch tickWindow(XGame& x, PlaySession& play, pid_t pid, TickReader& reader)
{
    const auto readProbe = [&reader] { reader.read(); };
    play.playUntil(nowMs() + scaled(kTickWarmS) * 1000, readProbe);
    const double until = nowMs() + scaled(kTickS) * 1000;
    return measured(x, pid, [&] { play.playUntil(until, readProbe); });
}

int ticks(const std::string& program, const std::string& log)
{
    XGame x;
    if (!x.connected()) {
        return fail(x.error());
    }
    int pipeFds[2] = { -1, -1 };
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return fail("no pipe for the probe");
    }
    TickReader reader(pipeFds[0]);
    x.alsoWaitFor(pipeFds[0]);
    ChildProcess game;
    PlaySession play(x, game);
    const bool started
        = play.start(program, log, { "ZINDRA_PROBE_FD=" + std::to_string(pipeFds[1]) }, pipeFds[1]);
    close(pipeFds[1]);
    if (!started) {
        return fail("the probe game showed no window (see " + log + ")");
    }
    // The probe watches the launches from its first report on.
    const double deadline = nowMs() + PlaySession::kStartTimeoutMs;
    while (reader.reports().empty()) {
        if (nowMs() > deadline || !game.running()) {
            return fail("the probe game reports nothing (see " + log + ")");
        }
        x.pump(20);
        reader.read();
    }

    play.newGame();
    const Stretch quiet = tickWindow(x, play, game.pid(), reader);
    Stretch busy;
    {
        // Every core spinning, the game's among them.
        const BusyLoad load(static_cast<int>(std::max(2L, sysconf(_SC_NPROCESSORS_ONLN))));
        busy = tickWindow(x, play, game.pid(), reader);
    }
    reader.read();
    const auto quietRate = reader.rate(quiet.from.wallMs, quiet.to.wallMs);
    const auto busyRate = reader.rate(busy.from.wallMs, busy.to.wallMs);
    if (!game.running() || !quietRate || !busyRate) {
        return fail("the probe reported too little (see " + log + ")");
    }
    print("ticks_idle_per_s", quietRate->ticksPerSecond);
    print("ticks_idle_ran_s", quietRate->ranSeconds);
    print("updates_quiet_per_s", perSecond(quiet.updates, quiet.from.wallMs, quiet.to.wallMs));
    print("ticks_loaded_per_s", busyRate->ticksPerSecond);
    print("ticks_loaded_ran_s", busyRate->ranSeconds);
    print("updates_loaded_per_s", perSecond(busy.updates, busy.from.wallMs, busy.to.wallMs));
    print("cpu_loaded_pct", cpuPercent(busy.from, busy.to));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    endWithChildrenOnSignal();
    std::signal(SIGPIPE, SIG_IGN);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s session|start|ticks GAME LOG\n", argv[0]);
        return 2;
    }
    const std::string mode = argv[1];
    if (mode == "session") {
        return session(argv[2], argv[3]);
    }
    if (mode == "start") {
        return session(argv[2], argv[3], false);
    }
    if (mode == "ticks") {
        return ticks(argv[2], argv[3]);
    }
    std::fprintf(stderr, "%s: unknown measurement %s\n", argv[0], mode.c_str());
    return 2;
}
