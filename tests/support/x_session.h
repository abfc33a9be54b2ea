// A private X server (Xvfb) with the real game running on it, driven the way a
// player drives it: real pointer and key events, the screen read back.
//
// Coordinates called "window" are pixels of the game window's content, origin
// at its top-left corner, the same as the layout's; the session turns them into
// screen coordinates from the window's geometry at the moment of use (the game
// moves its window after it opens).
#pragma once

#include "x_display.h"
#include "x_server.h"

#include <QImage>
#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;
using Geometry = xdrive::Geometry;
using SizeHints = xdrive::SizeHints;

class XSession {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;
    // Every wait polls at this interval until its deadline.
    static constexpr Millis kPoll = 20ms;

    // Xvfb when it is not on PATH, as one line for a skipped test; else empty.
    [[nodiscard]] static std::string missingTools() { return xdrive::XServer::missing(); }

    explicit XSession(QString gameProgram);
    // Ends the game and the server, whatever state a failed test left them in.
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Before start: a screen of another size, and a variable for the game's
    // environment (QT_SCALE_FACTOR, say).
    void setScreenSize(int width, int height);
    void setGameEnvironment(const QString& name, const QString& value);

    // Starts the server, then the game, and waits until the game's window is
    // shown. False when any of it fails or takes too long; error() says which.
    [[nodiscard]] bool start(Millis timeout = 20s);
    [[nodiscard]] const std::string& error() const { return error_; }
    // What the game wrote to stdout and stderr so far.
    [[nodiscard]] QString gameOutput();

    // Polls the condition until it holds (true) or the deadline passes (false).
    template <class Condition> [[nodiscard]] bool waitFor(Condition&& condition, Millis timeout)
    {
        const auto deadline = Clock::now() + timeout;
        while (!condition()) {
            if (Clock::now() >= deadline) {
                return false;
            }
            pause();
        }
        return true;
    }

    // The game's window: where it is, what it asks of the window manager.
    [[nodiscard]] Geometry geometry() const { return x_->geometry(window_); }
    [[nodiscard]] QString windowTitle() const { return QString::fromStdString(x_->title(window_)); }
    [[nodiscard]] SizeHints sizeHints() const { return x_->sizeHints(window_); }
    [[nodiscard]] bool asksForNoDecorations() const { return x_->asksForNoDecorations(window_); }

    // The whole screen, kScreenWidth x kScreenHeight; a null image on failure.
    [[nodiscard]] QImage screenshot() const;
    // The window's content cut out of a screenshot, indexed by window coordinates.
    [[nodiscard]] QImage windowShot() const;
    bool saveScreenshot(const QString& path) const;

    // Pointer and keyboard, in window coordinates.
    void moveTo(int x, int y) const;
    void clickAt(int x, int y) const;
    // x and y on the board, feld's own coordinates (0..599, 0..689).
    void moveOverBoard(int x, int y) const;
    void clickOnBoard(int x, int y) const;
    void clickNeu() const;
    void clickQuit() const; // the "X" button
    void pressSpace() const { x_->pressKey("space"); }

    // As a window manager does: moves the window to screen position (x, y);
    // asks it to close (false when there is no window to ask).
    void moveWindow(int x, int y) const { x_->moveWindow(window_, x, y); }
    bool closeWindow();
    // The game's exit status once it has ended normally; nothing when it is
    // still running at the deadline or crashed (error() says which).
    [[nodiscard]] std::optional<int> waitForExit(Millis timeout);

private:
    bool startServer(Clock::time_point deadline);
    bool startGame(Clock::time_point deadline);
    void pause() { std::this_thread::sleep_for(kPoll); }

    std::string gameProgram_;
    QTemporaryDir dir_; // the game's output
    xdrive::XServer server_;
    xdrive::ChildProcess game_;
    std::unique_ptr<xdrive::XDisplay> x_;
    xdrive::WindowId window_ = 0;
    int screenWidth_ = kScreenWidth;
    int screenHeight_ = kScreenHeight;
    std::vector<std::string> gameEnvironment_; // the display's, then the test's
    std::string error_;
};

} // namespace e2e
