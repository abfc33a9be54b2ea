// The game on screen and the player at its controls: starts the game, waits
// for its window, and plays, one look at the board about every tick.
#pragma once

#include "child_process.h"
#include "player.h"
#include "x_game.h"

#include <optional>
#include <string>
#include <vector>

namespace measure {

using xdrive::BusyLoad;
using xdrive::ChildProcess;
using xdrive::endWithChildrenOnSignal;
using xdrive::nowMs;

class PlaySession {
public:
    // Giving up on a game that shows no window.
    static constexpr double kStartTimeoutMs = 20'000;

    PlaySession(XGame& x, ChildProcess& game)
        : x_(x)
        , game_(game)
    {
    }

    // Starts the game (see ChildProcess::start) and waits for its first frame.
    [[nodiscard]] bool start(const std::string& program, const std::string& log,
        const std::vector<std::string>& environment = {}, int keepFd = -1);
    // When the game was started (monotonic ms).
    [[nodiscard]] double startedAt() const { return startedAt_; }

    // Waits with the pointer off the window.
    void idle(double ms);
    // Clicks NEU and brings the pointer back over the board.
    void newGame();

    // Plays until the given time; `between` runs after every look.
    template <class Between> void playUntil(double untilMs, Between&& between)
    {
        while (nowMs() < untilMs && game_.running()) {
            x_.pump(kLookMs);
            between();
            lookAndAct();
        }
    }
    void playUntil(double untilMs)
    {
        playUntil(untilMs, [] {});
    }

    [[nodiscard]] const Player& player() const { return player_; }

private:
    static constexpr double kLookMs = 4;
    // A mouse reports its motion at most 125 times a second (USB's 8 ms): the
    // pointer moves no more often, or the game would draw its paddle for
    // motion no hand makes.
    static constexpr double kMotionGapMs = 8;

    void steer(int middle);
    void lookAndAct();
    [[nodiscard]] std::optional<BallSighting> lookForBall();

    XGame& x_;
    ChildProcess& game_;
    Player player_;
    std::optional<BallSighting> lastBall_;
    int middle_ = 300; // the paddle's middle the pointer was last put at, board x
    double movedAt_ = 0;
    double startedAt_ = 0;
};

} // namespace measure
