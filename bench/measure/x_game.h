// The game's window on an X server, seen from outside as a player and a
// stopwatch see it: when it is mapped, when its content changes (XDamage),
// what the board shows (read back through shared memory), and real pointer
// input (XTest).
#pragma once

#include "ball_finder.h"
#include "game_layout.h"
#include "update_counter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace measure {

class XGame {
public:
    // The pointer's height while it steers: over the board, clear of the paddle.
    static constexpr int kSteeringY = 500;

    XGame();
    ~XGame();
    XGame(const XGame&) = delete;
    XGame& operator=(const XGame&) = delete;

    // False when there is no display, or it lacks XTest, XDamage or MIT-SHM.
    [[nodiscard]] bool connected() const;
    [[nodiscard]] const std::string& error() const { return error_; }

    // Call before the game starts: from now on every new top-level window is
    // watched, so that neither its mapping nor its first drawing is missed.
    void watchNewWindows();
    // Handles the server's events for up to timeoutMs (0: only those queued).
    void pump(double timeoutMs);
    // Also wakes pump when fd is readable (the probe's pipe).
    void alsoWaitFor(int fd) { extraFd_ = fd; }

    // When the game's window was mapped and first drawn on (monotonic ms).
    [[nodiscard]] std::optional<double> mappedAt() const { return mappedAt_; }
    [[nodiscard]] std::optional<double> firstDrawnAt() const { return firstDrawnAt_; }
    // The latest drawing on it so far: once the window has been quiet for a
    // while, the time its first complete frame was on screen.
    [[nodiscard]] std::optional<double> lastDrawnAt() const { return lastDrawnAt_; }

    // Screen updates of the game's window so far.
    [[nodiscard]] std::int64_t updates() const { return updates_.count(); }

    // The board as it is on screen now: a square of 160 x 160 around `near`
    // when given, else the whole board.
    [[nodiscard]] std::optional<BoardImage> readBoard(std::optional<BallSighting> near = {});

    // The pointer, in window coordinates; clicks with the left button.
    void movePointer(int x, int y);
    void click();
    // Over the board, with the paddle's middle at board x.
    void steer(int paddleMiddle);
    void clickNeu();
    // Off the window, where it stirs nothing.
    void pointerAway();

private:
    struct Impl;
    void handle(const void* event);
    void drainEvents();
    void locateWindow();

    std::unique_ptr<Impl> impl_;
    std::string error_;
    int extraFd_ = -1;
    std::optional<double> mappedAt_;
    std::optional<double> firstDrawnAt_;
    std::optional<double> lastDrawnAt_;
    UpdateCounter updates_;
};

} // namespace measure
