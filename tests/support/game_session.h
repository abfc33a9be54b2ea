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

#include <QImage>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace support {

struct Geometry {
    int x = 0; // screen position of the content's top-left pixel
    int y = 0;
    int width = 0;
    int height = 0;
};

// The size limits a window gives the window manager; zero where it gives none.
struct SizeHints {
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

class GameSession {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;
    // How long a start may take until the window's first drawing.
    static constexpr double kStartTimeoutMs = 20'000;

    // Xvfb when it is not on PATH, as one line for a skipped test; else empty.
    [[nodiscard]] static std::string missingTools();

    // program: the game, by default the one this build made.
    explicit GameSession(std::string program = ZINDRA_BINARY);
    // Ends the game and the server, whatever state a failed test left them in.
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Before start: another screen size; a variable for the game's environment
    // ("NAME=value", or "NAME" to remove it); a descriptor the game inherits.
    void setScreenSize(int width, int height);
    void setEnvironment(const std::string& setting) { environment_.push_back(setting); }
    // A command the game runs under, the game's program appended (setpriv, say).
    void runUnder(std::vector<std::string> command) { launcher_ = std::move(command); }
    void keepOpen(int fd) { keepFd_ = fd; }

    // Starts the server, then the game, and waits for its window's mapping and
    // first drawing. False when any of it fails; error() says which.
    [[nodiscard]] bool start();
    [[nodiscard]] const std::string& error() const { return error_; }
    // What the game wrote to stdout and stderr so far.
    [[nodiscard]] QString gameOutput() const;
    [[nodiscard]] pid_t pid() const { return game_.pid(); }
    // The game's CPU time so far, utime and stime as ps reads them (ms).
    [[nodiscard]] double cpuMs() const;
    [[nodiscard]] bool running() { return game_.running(); }

    // When the game was started, its window mapped, first and last drawn on,
    // and every screen update of it so far (monotonic ms; an update is
    // drawing that comes 2 ms or more after the last).
    [[nodiscard]] double startedAt() const { return startedAt_; }
    [[nodiscard]] double mappedAt() const { return mappedAt_; }
    [[nodiscard]] double firstDrawnAt() const { return updates_.empty() ? 0 : updates_.front(); }
    [[nodiscard]] double lastDrawnAt() const { return lastDrawnAt_; }
    [[nodiscard]] const std::vector<double>& updates() const { return updates_; }
    // The same updates on the X server's own clock (ms): the pace as the
    // server saw it, free of this program's own wake-ups.
    [[nodiscard]] const std::vector<double>& updatesOnServer() const { return updatesOnServer_; }
    // For each update, the vertical blank of the screen nearest it (all 0
    // where the server tells none): an update one blank after the last is a
    // new frame at that refresh, neither repeated nor skipped.
    [[nodiscard]] std::vector<std::uint64_t> updateBlanks() const;

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

    // The game's window: where it is, what it asks of the window manager.
    [[nodiscard]] Geometry geometry() const;
    [[nodiscard]] std::string title() const;
    [[nodiscard]] SizeHints sizeHints() const;
    [[nodiscard]] bool asksForNoDecorations() const;

    // The whole screen; the window's content cut out of it (null on failure).
    [[nodiscard]] QImage screenshot() const;
    [[nodiscard]] QImage windowShot() const;
    // A part of the board as it is on screen now: a square of kNearSize
    // around near, else the whole board.
    [[nodiscard]] BoardView readBoard(std::optional<BallSighting> near = {}) const;

    // Pointer and keyboard, in window coordinates; each is on the server when
    // it returns.
    void moveTo(int x, int y) const;
    void click() const;
    void clickAt(int x, int y) const;
    // Board coordinates, feld's own (0..599, 0..689).
    void moveOverBoard(int x, int y) const;
    void clickOnBoard(int x, int y) const;
    void clickNeu() const;
    void clickQuit() const; // the "X" button
    void pressKey(const char* keysym) const; // as X names it: "space"
    // Off the window, where it stirs nothing.
    void pointerAway() const;

    // As a window manager does: moves the window to screen position (x, y);
    // asks it to close (false when it does not take part in that protocol).
    void moveWindow(int x, int y) const;
    bool closeWindow();
    // The game's exit status once it ended normally; nothing when it still
    // runs after ms or crashed (error() says which).
    [[nodiscard]] std::optional<int> waitForExit(double ms);

    // Plays as a player would until the time untilMs: the pointer keeps the
    // paddle under the ball, a waiting ball is launched, an ended game
    // restarted. between() runs after every look at the board.
    template <class Between> void playUntil(double untilMs, Between&& between)
    {
        while (nowMs() < untilMs && running()) {
            pump(kLookMs);
            between();
            lookAndAct();
        }
    }
    void playUntil(double untilMs)
    {
        playUntil(untilMs, [] {});
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
    void steer(int middle);
    void lookAndAct();

    std::string program_;
    std::string dir_; // the game's output
    ChildProcess server_;
    ChildProcess game_;
    std::unique_ptr<X> x_;
    int screenWidth_ = kScreenWidth;
    int screenHeight_ = kScreenHeight;
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
    std::optional<BallSighting> lastBall_;
    int middle_ = 300; // where the pointer last put the paddle's middle, board x
    double movedAt_ = 0;
};

} // namespace support
