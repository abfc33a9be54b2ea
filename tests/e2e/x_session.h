// A private X server (Xvfb) with the real game running on it, driven the way a
// player drives it: the pointer and the keyboard through xdotool (real input
// events), the screen read back as a picture through ImageMagick's import.
//
// Coordinates called "window" are pixels of the game window's content, origin
// at its top-left corner, the same as the layout's; the session turns them into
// screen coordinates from the window's geometry at the moment of use (the game
// moves its window after it opens).
#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <string>

struct _XDisplay;

namespace e2e {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Millis = std::chrono::milliseconds;

struct Geometry {
    int x = 0; // screen position of the content's top-left pixel
    int y = 0;
    int width = 0;
    int height = 0;
};

// The window's size limits as it tells the window manager (WM_NORMAL_HINTS);
// zero where it gives none.
struct SizeHints {
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
};

class XSession {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;
    // Every wait polls at this interval until its deadline.
    static constexpr Millis kPoll = 20ms;

    // The programs the session needs that are not on PATH, as one line for a
    // skipped test; empty when all are there.
    [[nodiscard]] static std::string missingTools();

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
    [[nodiscard]] Geometry geometry();
    [[nodiscard]] QString windowTitle();
    [[nodiscard]] SizeHints sizeHints();
    // True when the window asks for no title bar and no frame (Motif hints).
    [[nodiscard]] bool asksForNoDecorations();

    // The whole screen, kScreenWidth x kScreenHeight; a null image on failure.
    [[nodiscard]] QImage screenshot();
    // The window's content cut out of a screenshot, indexed by window coordinates.
    [[nodiscard]] QImage windowShot();
    // Saves a screenshot for a human to look at.
    bool saveScreenshot(const QString& path);

    // Pointer and keyboard, in window coordinates.
    void moveTo(int x, int y);
    void clickAt(int x, int y);
    // x and y on the board, feld's own coordinates (0..599, 0..689).
    void moveOverBoard(int x, int y);
    void clickOnBoard(int x, int y);
    void clickNeu();
    void clickQuit(); // the "X" button
    // keysym as xdotool names it: "space", "a", "Escape".
    void pressKey(const QString& keysym);
    void pressSpace() { pressKey(QStringLiteral("space")); }

    // Moves the window to screen position (x, y) the way a window manager does.
    void moveWindow(int x, int y);

    // Asks the window to close the way a window manager does: a
    // WM_DELETE_WINDOW message. False when there is no window to ask.
    bool closeWindow();
    // The game's exit status once it has ended normally; nothing when it is
    // still running at the deadline or crashed (error() says which).
    [[nodiscard]] std::optional<int> waitForExit(Millis timeout);

private:
    struct Result {
        int exitCode = -1;
        QByteArray output;
    };

    bool startServer(Clock::time_point deadline);
    bool startGame(Clock::time_point deadline);
    [[nodiscard]] unsigned long findGameWindow();
    [[nodiscard]] QString titleOf(unsigned long window);
    [[nodiscard]] QByteArray property(
        unsigned long window, const char* name, unsigned long& type, int& format);
    Result run(const QString& program, const QStringList& arguments, Millis timeout = 10s);
    void xdotool(const QStringList& arguments);
    void pause();
    void fail(std::string message);

    QString gameProgram_;
    QProcess server_;
    QProcess game_;
    int screenWidth_ = kScreenWidth;
    int screenHeight_ = kScreenHeight;
    QProcessEnvironment gameEnvironment_; // set by the test, over the rest
    QProcessEnvironment environment_; // for the game and the tools: the private DISPLAY
    QString display_; // ":N"
    _XDisplay* connection_ = nullptr;
    unsigned long window_ = 0;
    QByteArray output_; // the game's, read so far
    std::string error_;
};

} // namespace e2e
