// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "game_session.h"

#include "ui/window/layout.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

// Xlib last: its macros (None, Bool, Status, ...) clash with much else.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xpresent.h>

namespace support {

namespace {

constexpr int centreX(layout::Bounds b) { return b.left + b.width / 2; }
constexpr int centreY(layout::Bounds b) { return b.top + b.height / 2; }

// The pointer's height while it steers: over the board, clear of the paddle.
constexpr int kSteeringY = 500;
// A mouse reports its motion at most 125 times a second (USB's 8 ms): the
// pointer moves no more often, or the game would draw its paddle for motion
// no hand makes.
constexpr double kMotionGapMs = 8;
// A top-level window at least this big is the game's, not one of the
// toolkit's 1 x 1 helpers.
constexpr int kMinGameSide = 100;
// Drawing this soon after the last belongs to the same screen update: one
// update reaches the server as a few rectangles within a fraction of a
// millisecond, and the game draws at most every 4 ms.
constexpr std::uint32_t kUpdateGapMs = 2;
// The server's vertical blanks are asked for this many ahead: the robot may
// be reading the screen for a while, and a blank asked for late is told late.
constexpr std::uint64_t kBlanksAhead = 30;

// A window may vanish between finding it and asking about it; such an error
// must not end the program, which is what Xlib's own handler does.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

struct GameSession::X {
    Display* display = nullptr;
    Window root = 0;
    Window game = 0;
    int damageEventBase = 0;
    std::map<Window, Damage> damages;
    int presentOpcode = 0; // 0: the server tells no vertical blanks
    std::vector<std::pair<double, std::uint64_t>> blanks; // (server ms, count) of each told
    std::uint64_t blanksAskedTo = 0;

    ~X()
    {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }

    // Pixels of a window (the root: the screen) as they are on screen now;
    // null when the server has no 32-bit pixels to give.
    [[nodiscard]] QImage grab(Window window, int x, int y, int width, int height) const
    {
        XImage* got = XGetImage(display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
            AllPlanes, ZPixmap);
        QImage image;
        if (got != nullptr && got->bits_per_pixel == 32) {
            image = QImage(reinterpret_cast<const uchar*>(got->data), width, height, got->bytes_per_line,
                QImage::Format_RGB32)
                        .copy();
        }
        if (got != nullptr) {
            XDestroyImage(got);
        }
        return image;
    }

    // A window property's bytes; Xlib hands 32-bit items over as longs.
    [[nodiscard]] std::string property(const char* name, int& format) const
    {
        Atom type = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        format = 0;
        if (game == 0
            || XGetWindowProperty(display, game, XInternAtom(display, name, False), 0, 4096, False, AnyPropertyType,
                   &type, &format, &count, &remaining, &data)
                != Success
            || data == nullptr) {
            return {};
        }
        const std::size_t itemSize = format == 32 ? sizeof(long) : format == 16 ? sizeof(short) : 1;
        std::string bytes(reinterpret_cast<const char*>(data), count * itemSize);
        XFree(data);
        return bytes;
    }
};

std::string GameSession::missingTools()
{
    return onPath("Xvfb") ? "" : "not installed: Xvfb";
}

GameSession::GameSession(std::string program)
    : program_(std::move(program))
    , x_(std::make_unique<X>())
{
    char dir[] = "/tmp/zindra-session.XXXXXX";
    if (mkdtemp(dir) != nullptr) {
        dir_ = dir;
    }
}

GameSession::~GameSession()
{
    game_.stop();
    x_.reset(); // before the server goes, or Xlib ends this program
    server_.stop();
    if (!dir_.empty()) {
        std::remove((dir_ + "/game.log").c_str());
        rmdir(dir_.c_str());
    }
}

void GameSession::setScreenSize(int width, int height)
{
    screenWidth_ = width;
    screenHeight_ = height;
}

bool GameSession::startServer()
{
    // -displayfd: the server picks a free display and writes its number to
    // our end of the pipe once it accepts connections.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = "no pipe for Xvfb";
        return false;
    }
    const std::string screen = std::to_string(screenWidth_) + "x" + std::to_string(screenHeight_) + "x24";
    const bool started = server_.start(
        { "Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", screen, "-nolisten", "tcp", "-noreset" },
        {}, "/dev/null", pipeFds[1]);
    close(pipeFds[1]);
    const double deadline = nowMs() + kStartTimeoutMs;
    std::string named;
    char buffer[16];
    pollfd readable { pipeFds[0], POLLIN, 0 };
    while (started && named.find('\n') == std::string::npos) {
        const int left = static_cast<int>(deadline - nowMs());
        const ssize_t got = left > 0 && poll(&readable, 1, left) > 0 ? read(pipeFds[0], buffer, sizeof buffer) : 0;
        if (got <= 0) {
            break; // the deadline passed, or the server ended
        }
        named.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    if (named.find('\n') == std::string::npos) {
        error_ = started ? "Xvfb named no display" : "Xvfb did not start";
        return false;
    }
    const std::string display = ":" + named.substr(0, named.find('\n'));

    XSetErrorHandler(ignoreXErrors);
    X& x = *x_;
    x.display = XOpenDisplay(display.c_str());
    int ignored[4] = {};
    if (x.display == nullptr || XTestQueryExtension(x.display, &ignored[0], &ignored[1], &ignored[2], &ignored[3]) == 0
        || XDamageQueryExtension(x.display, &x.damageEventBase, &ignored[0]) == 0) {
        error_ = "no XTEST or DAMAGE on Xvfb " + display;
        return false;
    }
    // From now on every new top-level window is watched, so that neither its
    // mapping nor its first drawing is missed.
    x.root = DefaultRootWindow(x.display);
    XSelectInput(x.display, x.root, SubstructureNotifyMask);
    // The screen's vertical blanks, to hold the game's updates against.
    if (XPresentQueryExtension(x.display, &x.presentOpcode, &ignored[0], &ignored[1]) != 0) {
        XPresentSelectInput(x.display, x.root, PresentCompleteNotifyMask);
        XPresentNotifyMSC(x.display, x.root, 0, 0, 1, 0); // the next one, whichever it is
    } else {
        x.presentOpcode = 0;
    }
    XSync(x.display, False);
    // A real X server, whatever this program runs on; no scaling, so that a
    // window pixel is a screen pixel. The caller's own settings come last.
    environment_.insert(environment_.begin(), { "DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY",
        "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI" });
    return true;
}

bool GameSession::start()
{
    if (dir_.empty() || !startServer()) {
        error_ = error_.empty() ? "no directory for the game's output" : error_;
        return false;
    }
    startedAt_ = nowMs();
    std::vector<std::string> command = launcher_;
    command.push_back(program_);
    if (!game_.start(command, environment_, dir_ + "/game.log", keepFd_)) {
        error_ = "cannot start " + program_;
        return false;
    }
    if (!waitFor([this] { return (mappedAt_ > 0 && !updates_.empty()) || !game_.running(); }, kStartTimeoutMs)) {
        error_ = program_ + " showed no window in time";
        return false;
    }
    if (!game_.running()) {
        error_ = program_ + " ended before it showed a window";
        return false;
    }
    return true;
}

QString GameSession::gameOutput() const
{
    std::ifstream log(dir_ + "/game.log");
    std::ostringstream text;
    text << log.rdbuf();
    return QString::fromStdString(text.str());
}

double GameSession::cpuMs() const
{
    std::ifstream file("/proc/" + std::to_string(game_.pid()) + "/stat");
    std::string line;
    std::getline(file, line);
    unsigned long user = 0;
    unsigned long system = 0;
    // The name in brackets may hold spaces: the fields count from the last ')'.
    const auto close = line.rfind(')');
    if (close == std::string::npos
        || std::sscanf(line.c_str() + close + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system)
            != 2) {
        return 0;
    }
    return static_cast<double>(user + system) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void GameSession::handle(const void* any)
{
    const auto& event = *static_cast<const XEvent*>(any);
    X& x = *x_;
    if (event.type == CreateNotify && event.xcreatewindow.parent == x.root && event.xcreatewindow.override_redirect == 0) {
        x.damages[event.xcreatewindow.window]
            = XDamageCreate(x.display, event.xcreatewindow.window, XDamageReportRawRectangles);
    } else if (event.type == MapNotify && x.game == 0 && event.xmap.event == x.root) {
        XWindowAttributes attributes {};
        if (XGetWindowAttributes(x.display, event.xmap.window, &attributes) != 0 && attributes.width >= kMinGameSide
            && attributes.height >= kMinGameSide) {
            mappedAt_ = nowMs();
            x.game = event.xmap.window;
        }
    } else if (event.type == DestroyNotify) {
        x.damages.erase(event.xdestroywindow.window);
        x.game = event.xdestroywindow.window == x.game ? 0 : x.game;
    } else if (event.type == GenericEvent && event.xcookie.extension == x.presentOpcode && x.presentOpcode != 0) {
        XGenericEventCookie cookie = event.xcookie;
        if (XGetEventData(x.display, &cookie) != 0) {
            const auto& blank = *static_cast<const XPresentCompleteNotifyEvent*>(cookie.data);
            const std::uint64_t count = blank.msc;
            x.blanks.emplace_back(static_cast<double>(blank.ust) / 1000.0, count);
            XFreeEventData(x.display, &cookie);
            for (x.blanksAskedTo = std::max(x.blanksAskedTo, count); x.blanksAskedTo < count + kBlanksAhead;) {
                XPresentNotifyMSC(x.display, x.root, 0, ++x.blanksAskedTo, 0, 0);
            }
        }
    } else if (event.type == x.damageEventBase + XDamageNotify) {
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        if (damage.drawable != x.game || x.game == 0) {
            return;
        }
        const auto serverMs = static_cast<std::uint32_t>(damage.timestamp);
        lastDrawnAt_ = nowMs();
        if (updates_.empty() || serverMs - lastDamageServerMs_ >= kUpdateGapMs) {
            updates_.push_back(lastDrawnAt_);
            updatesOnServer_.push_back(serverMs);
        }
        lastDamageServerMs_ = serverMs;
    }
}

std::vector<std::uint64_t> GameSession::updateBlanks() const
{
    // The server stamps drawing in whole milliseconds and blanks in
    // microseconds; the game draws within a millisecond or two of its blank.
    const auto& blanks = x_->blanks;
    std::vector<std::uint64_t> nearest;
    for (const double at : updatesOnServer_) {
        const double middle = at + 0.5;
        auto blank = std::lower_bound(
            blanks.begin(), blanks.end(), middle, [](const auto& b, double t) { return b.first < t; });
        if (blank != blanks.begin()
            && (blank == blanks.end() || middle - std::prev(blank)->first < blank->first - middle)) {
            --blank;
        }
        nearest.push_back(blank == blanks.end() ? 0 : blank->second);
    }
    return nearest;
}

void GameSession::pump(double ms)
{
    Display* display = x_->display;
    if (display == nullptr) {
        std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms)); // no game yet: only wait
        return;
    }
    const double deadline = nowMs() + ms;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event {};
            XNextEvent(display, &event);
            handle(&event);
        }
        const double left = deadline - nowMs();
        if (left <= 0) {
            return;
        }
        pollfd readable { ConnectionNumber(display), POLLIN, 0 };
        const timespec wait { static_cast<time_t>(left / 1000), static_cast<long>(std::fmod(left, 1000.0) * 1e6) };
        ppoll(&readable, 1, &wait, nullptr);
    }
}

Geometry GameSession::geometry() const
{
    XWindowAttributes attributes {};
    if (x_->game == 0 || XGetWindowAttributes(x_->display, x_->game, &attributes) == 0) {
        return {};
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(x_->display, x_->game, x_->root, 0, 0, &x, &y, &child);
    return { x, y, attributes.width, attributes.height };
}

std::string GameSession::title() const
{
    int format = 0;
    const std::string title = x_->property("_NET_WM_NAME", format);
    return title.empty() ? x_->property("WM_NAME", format) : title;
}

SizeHints GameSession::sizeHints() const
{
    XSizeHints hints {};
    long supplied = 0;
    if (x_->game == 0 || XGetWMNormalHints(x_->display, x_->game, &hints, &supplied) == 0) {
        return {};
    }
    SizeHints result;
    if ((hints.flags & PMinSize) != 0) {
        result.minWidth = hints.min_width;
        result.minHeight = hints.min_height;
    }
    if ((hints.flags & PMaxSize) != 0) {
        result.maxWidth = hints.max_width;
        result.maxHeight = hints.max_height;
    }
    return result;
}

bool GameSession::asksForNoDecorations() const
{
    // Motif window manager hints: flags, functions, decorations, input mode,
    // status; flag 2 says the decorations field counts.
    int format = 0;
    const std::string bytes = x_->property("_MOTIF_WM_HINTS", format);
    if (format != 32 || bytes.size() < 3 * sizeof(long)) {
        return false;
    }
    const auto* hints = reinterpret_cast<const long*>(bytes.data());
    return (hints[0] & (1L << 1)) != 0 && hints[2] == 0;
}

QImage GameSession::screenshot() const
{
    return x_->display == nullptr ? QImage() : x_->grab(x_->root, 0, 0, screenWidth_, screenHeight_);
}

QImage GameSession::windowShot() const
{
    // The game may move its window while the screen is read; then read again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const Geometry before = geometry();
        const QImage screen = screenshot();
        const Geometry after = geometry();
        if (screen.isNull() || after.width == 0) {
            return {};
        }
        if (before.x == after.x && before.y == after.y) {
            return screen.copy(after.x, after.y, after.width, after.height);
        }
    }
    return {};
}

BoardView GameSession::readBoard(std::optional<BallSighting> near) const
{
    BoardView view;
    int width = layout::kBoard.width;
    int height = layout::kBoard.height;
    if (near) {
        view.left = std::clamp(near->x - kNearSize / 2, 0, width - kNearSize);
        view.top = std::clamp(near->y - kNearSize / 2, 0, height - kNearSize);
        width = height = kNearSize;
    }
    if (x_->game != 0) {
        view.image = x_->grab(x_->game, layout::kBoard.left + view.left, layout::kBoard.top + view.top, width, height);
    }
    return view;
}

void GameSession::moveTo(int x, int y) const
{
    const Geometry window = geometry();
    XTestFakeMotionEvent(x_->display, -1, window.x + x, window.y + y, CurrentTime);
    XSync(x_->display, False);
}

void GameSession::click() const
{
    XTestFakeButtonEvent(x_->display, 1, True, CurrentTime);
    XTestFakeButtonEvent(x_->display, 1, False, CurrentTime);
    XSync(x_->display, False);
}

void GameSession::clickAt(int x, int y) const
{
    moveTo(x, y);
    click();
}

void GameSession::moveOverBoard(int x, int y) const
{
    moveTo(layout::kBoard.left + x, layout::kBoard.top + y);
}

void GameSession::clickOnBoard(int x, int y) const
{
    clickAt(layout::kBoard.left + x, layout::kBoard.top + y);
}

void GameSession::clickNeu() const
{
    clickAt(centreX(layout::kNeu), centreY(layout::kNeu));
}

void GameSession::clickQuit() const
{
    clickAt(centreX(layout::kQuit), centreY(layout::kQuit));
}

void GameSession::pressKey(const char* keysym) const
{
    const KeyCode code = XKeysymToKeycode(x_->display, XStringToKeysym(keysym));
    XTestFakeKeyEvent(x_->display, code, True, CurrentTime);
    XTestFakeKeyEvent(x_->display, code, False, CurrentTime);
    XSync(x_->display, False);
}

void GameSession::pointerAway() const
{
    // Below the window, which stands at the top of the screen.
    XTestFakeMotionEvent(x_->display, -1, 5, screenHeight_ - 5, CurrentTime);
    XSync(x_->display, False);
}

void GameSession::moveWindow(int x, int y) const
{
    XMoveWindow(x_->display, x_->game, x, y);
    XSync(x_->display, False);
}

bool GameSession::closeWindow()
{
    // A window manager sends the message only to a window that takes part in
    // the protocol (and kills the client otherwise).
    X& x = *x_;
    const Atom deleteWindow = XInternAtom(x.display, "WM_DELETE_WINDOW", False);
    Atom* protocols = nullptr;
    int count = 0;
    bool takesPart = false;
    if (x.game != 0 && XGetWMProtocols(x.display, x.game, &protocols, &count) != 0) {
        takesPart = std::find(protocols, protocols + count, deleteWindow) != protocols + count;
        XFree(protocols);
    }
    if (!takesPart) {
        error_ = "no window that takes WM_DELETE_WINDOW";
        return false;
    }
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = x.game;
    event.xclient.message_type = XInternAtom(x.display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x.display, x.game, False, NoEventMask, &event);
    XSync(x.display, False);
    return true;
}

std::optional<int> GameSession::waitForExit(double ms)
{
    if (!waitFor([this] { return !game_.running(); }, ms)) {
        error_ = "the game still runs after " + std::to_string(static_cast<int>(ms)) + " ms";
        return std::nullopt;
    }
    if (!game_.exitStatus()) {
        error_ = "the game crashed";
    }
    return game_.exitStatus();
}

void GameSession::newGame()
{
    clickNeu();
    pump(50);
    steer(middle_);
}

void GameSession::steer(int middle)
{
    middle_ = middle;
    movedAt_ = nowMs();
    moveOverBoard(middle, kSteeringY);
}

void GameSession::lookAndAct()
{
    // Near where the ball was last: a small read. The whole board only when it
    // is not there, and not at all while no ball has been seen (a waiting game
    // is checked at the next look anyway).
    std::optional<BallSighting> ball = findBall(readBoard(lastBall_));
    if (!ball && lastBall_) {
        ball = findBall(readBoard());
    }
    lastBall_ = ball;
    const Decision decision = player_.look(ball, nowMs());
    if (decision.paddleMiddle && *decision.paddleMiddle != middle_ && nowMs() - movedAt_ >= kMotionGapMs) {
        steer(*decision.paddleMiddle);
    }
    if (decision.click == Click::Launch) {
        // A small move first: the resting ball then sits on the paddle.
        steer(middle_ + (middle_ < Player::kMiddleMax ? 1 : -1));
        click();
    } else if (decision.click == Click::NewGame) {
        newGame();
    }
}

} // namespace support
