// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The real game on a private X server (Xvfb), seen and driven from outside as
// a player sees and drives it: started, its window found when it is mapped,
// its drawing followed (XDamage), the screen read back, real pointer and key
// events (XTest), and a robot that keeps the ball in play. The end-to-end,
// fault, sound and package tests and the whole-process measurement all drive
// the game through this one class.
//
// "Window" coordinates are pixels of the window's content, origin at its
// top-left corner, as the game's layout gives them; the session turns them
// into screen coordinates from where the window stands at that moment.
#pragma once

#include "child_process.h"
#include "robot_player.h"
#include "ui/window/layout.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace support {

// A point of the board (feld's own coordinates, 0..599, 0..689), and the
// middle of a control, in window coordinates.
[[nodiscard]] constexpr QPoint onBoard(int x, int y)
{
    return { layout::kBoard.left + x, layout::kBoard.top + y };
}
[[nodiscard]] constexpr QPoint middleOf(layout::Bounds b)
{
    return { b.left + b.width / 2, b.top + b.height / 2 };
}

// What the window asks of the window manager: its title, its size limits
// (empty where it sets none), no frame, and to be asked before it is closed
// (WM_DELETE_WINDOW; a window manager kills a window that does not take part).
struct WindowHints {
    std::string title;
    QSize minimum;
    QSize maximum;
    bool undecorated = false;
    bool closable = false;
};

class GameSession {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;
    // How long a start may take until the window's first drawing.
    static constexpr double kStartTimeoutMs = 20'000;

    // Whether Xvfb can be started here at all.
    [[nodiscard]] static bool installed() { return onPath("Xvfb"); }

    // program: the game, by default the one this build made.
    explicit GameSession(std::string program = ZINDRA_BINARY);
    // Ends the game and the server, whatever state a failed test left them in.
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Before start: another screen size; a variable for the game's environment
    // ("NAME=value", or "NAME" to remove it); a command the game runs under,
    // the game's program appended (setpriv, say); a descriptor it inherits.
    void setScreenSize(QSize size) { screen_ = size; }
    void setEnvironment(const std::string& setting) { environment_.push_back(setting); }
    void runUnder(std::vector<std::string> command) { launcher_ = std::move(command); }
    void keepOpen(int fd) { keepFd_ = fd; }

    // Starts the server, then the game, and waits for its window's mapping and
    // first drawing. False when any of it fails; error() says which.
    [[nodiscard]] bool start();
    [[nodiscard]] const std::string& error() const { return error_; }
    // What the game wrote to stdout and stderr so far.
    [[nodiscard]] QString gameOutput() const;
    [[nodiscard]] pid_t pid() const { return game_.pid(); }
    // The game's CPU time so far, all its threads, user and system (ms).
    [[nodiscard]] double cpuMs() const;
    [[nodiscard]] bool running() { return game_.running(); }

    // When the game was started, its window mapped, last drawn on, and every
    // screen update of it so far, its first drawing first (monotonic ms; an
    // update is drawing that comes 2 ms or more after the last).
    [[nodiscard]] double startedAt() const { return startedAt_; }
    [[nodiscard]] double mappedAt() const { return mappedAt_; }
    [[nodiscard]] double lastDrawnAt() const { return lastDrawnAt_; }
    [[nodiscard]] const std::vector<double>& updates() const { return updates_; }
    // The same updates on the X server's own clock (ms): the pace as the
    // server saw it, free of this program's own wake-ups.
    [[nodiscard]] const std::vector<double>& updatesOnServer() const { return updatesOnServer_; }
    // Of the updates after the from-th, how many came one vertical blank
    // after the last: a new frame at that refresh, neither repeated nor
    // skipped (none where the server tells no blanks).
    [[nodiscard]] std::size_t updatesInStep(std::size_t from) const;

    // Handles the server's events for ms (0: those queued).
    void pump(double ms);
    // Pumps until the condition holds (true) or ms have passed (false).
    template <class Condition> [[nodiscard]] bool waitFor(Condition&& condition, double ms)
    {
        const double deadline = nowMs() + ms;
        while (!condition()) {
            if (nowMs() >= deadline) {
                return false;
            }
            pump(kPollMs);
        }
        return true;
    }

    // The game's window: where it stands on the screen, what it asks of the
    // window manager, its content as it is on screen now (null on failure).
    [[nodiscard]] QRect geometry() const;
    [[nodiscard]] WindowHints hints() const;
    [[nodiscard]] QImage windowShot() const;
    // A part of the board as it is on screen now, its offset() where it lies
    // on the board: a square of kNearSize around near, else the whole board.
    [[nodiscard]] QImage readBoard(std::optional<QPoint> near = {}) const;

    // Pointer and keyboard, in window coordinates; each is on the server when
    // it returns.
    void moveTo(QPoint at) const;
    void clickAt(QPoint at) const;
    void clickNeu() const { clickAt(middleOf(layout::kNeu)); }
    void clickQuit() const { clickAt(middleOf(layout::kQuit)); } // the "X" button
    void pressKey(const char* keysym) const; // as X names it: "space"
    // Above and left of the window, where it stirs nothing.
    void pointerAway() const { moveTo({ -10, -10 }); }

    // As a window manager does: moves the window to screen position (x, y);
    // asks it to close.
    void moveWindow(int x, int y) const;
    void closeWindow() const;
    // The game's exit status once it ended normally; nothing when it still
    // runs after ms or crashed (error() says which).
    [[nodiscard]] std::optional<int> waitForExit(double ms);

    // Plays as a player would until the time untilMs: the pointer keeps the
    // paddle under the ball, a waiting ball is launched, an ended game
    // restarted. between() runs after every look at the board.
    void playUntil(double untilMs, const std::function<void()>& between = {})
    {
        while (nowMs() < untilMs && running()) {
            pump(kLookMs);
            if (between) {
                between();
            }
            lookAndAct();
        }
    }
    // Clicks NEU and brings the pointer back over the board.
    void newGame();
    [[nodiscard]] const Player& player() const { return player_; }

private:
    struct X;
    static constexpr double kPollMs = 20;
    static constexpr double kLookMs = 4;

    bool startServer();
    void handle(const void* event);
    void steer(int middle, bool click = false);
    void lookAndAct();
    // For each update, the vertical blank of the screen nearest it (0 where
    // the server tells none).
    [[nodiscard]] std::vector<std::uint64_t> updateBlanks() const;

    std::string program_;
    QTemporaryDir dir_; // the game's output
    ChildProcess server_;
    ChildProcess game_;
    std::unique_ptr<X> x_;
    QSize screen_ { kScreenWidth, kScreenHeight };
    std::vector<std::string> environment_;
    std::vector<std::string> launcher_;
    int keepFd_ = -1;
    std::string error_;
    double startedAt_ = 0;
    double mappedAt_ = 0;
    double lastDrawnAt_ = 0;
    std::vector<double> updates_;
    std::vector<double> updatesOnServer_;
    std::uint32_t lastDamageServerMs_ = 0;
    Player player_;
    std::optional<QPoint> lastBall_;
    int middle_ = 300; // where the pointer last put the paddle's middle, board x
    double movedAt_ = 0;
};

} // namespace support
