// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "game_session.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
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
    int presentOpcode = 0; // 0: the server tells no vertical blanks
    std::vector<std::pair<double, std::uint64_t>> blanks; // (server ms, count) of each told
    std::uint64_t blanksAskedTo = 0;

    ~X()
    {
        if (display != nullptr) {
            XCloseDisplay(display);
        }
    }

    // Pixels of a part of the game's window as they are on screen now; null
    // without a window, or when the server has no 32-bit pixels to give.
    [[nodiscard]] QImage grab(QRect part) const
    {
        XImage* got = game == 0 ? nullptr
                                : XGetImage(display, game, part.x(), part.y(), static_cast<unsigned>(part.width()),
                                      static_cast<unsigned>(part.height()), AllPlanes, ZPixmap);
        if (got == nullptr) {
            return {};
        }
        const QImage image = got->bits_per_pixel != 32 ? QImage()
            : QImage(reinterpret_cast<const uchar*>(got->data), part.width(), part.height(), got->bytes_per_line,
                  QImage::Format_RGB32)
                  .copy();
        XDestroyImage(got);
        return image;
    }

    // A window property's bytes; Xlib hands 32-bit items over as longs.
    [[nodiscard]] std::string property(const char* name) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        if (game == 0
            || XGetWindowProperty(display, game, XInternAtom(display, name, False), 0, 4096, False, AnyPropertyType,
                   &type, &format, &count, &remaining, &data)
                != Success
            || data == nullptr) {
            return {};
        }
        std::string bytes(reinterpret_cast<const char*>(data), count * (format == 32 ? sizeof(long) : 1));
        XFree(data);
        return bytes;
    }
};

GameSession::GameSession(std::string program)
    : program_(std::move(program))
    , x_(std::make_unique<X>())
{
}

GameSession::~GameSession()
{
    game_.stop();
    x_.reset(); // before the server goes, or Xlib ends this program
    server_.stop();
}

bool GameSession::startServer()
{
    // -displayfd: the server picks a free display and writes its number to
    // our end of the pipe once it accepts connections, then a line break; it
    // ends if it cannot write that, so the line is read to its end.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = "no pipe for Xvfb";
        return false;
    }
    const std::string screen = std::to_string(screen_.width()) + "x" + std::to_string(screen_.height()) + "x24";
    server_.start(
        { "Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", screen, "-nolisten", "tcp", "-noreset" },
        {}, "/dev/null", pipeFds[1]);
    close(pipeFds[1]); // a server that did not start leaves the pipe without a writer
    std::string display = ":";
    pollfd readable { pipeFds[0], POLLIN, 0 };
    for (char c = 0; poll(&readable, 1, static_cast<int>(kStartTimeoutMs)) > 0 && read(pipeFds[0], &c, 1) == 1
         && c != '\n';) {
        display += c;
    }
    close(pipeFds[0]);
    if (display.size() == 1) {
        error_ = "Xvfb did not start, or named no display";
        return false;
    }

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
    if (!startServer()) {
        return false;
    }
    startedAt_ = nowMs();
    std::vector<std::string> command = launcher_;
    command.push_back(program_);
    // A program that cannot be started ends at once.
    game_.start(command, environment_, dir_.filePath(QStringLiteral("game.log")).toStdString(), keepFd_);
    if (!waitFor([this] { return (mappedAt_ > 0 && !updates_.empty()) || !game_.running(); }, kStartTimeoutMs)
        || !game_.running()) {
        error_ = program_ + (game_.running() ? " showed no window in time" : " ended before it showed a window");
        return false;
    }
    return true;
}

QString GameSession::gameOutput() const
{
    QFile log(dir_.filePath(QStringLiteral("game.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

double GameSession::cpuMs() const
{
    clockid_t clock {};
    timespec used {};
    if (clock_getcpuclockid(game_.pid(), &clock) != 0 || clock_gettime(clock, &used) != 0) {
        return 0;
    }
    return static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) / 1e6;
}

void GameSession::handle(const void* any)
{
    const auto& event = *static_cast<const XEvent*>(any);
    X& x = *x_;
    if (event.type == CreateNotify && event.xcreatewindow.parent == x.root && event.xcreatewindow.override_redirect == 0) {
        // The server frees the damage object with its window.
        XDamageCreate(x.display, event.xcreatewindow.window, XDamageReportRawRectangles);
    } else if (event.type == MapNotify && x.game == 0 && event.xmap.event == x.root) {
        XWindowAttributes attributes {};
        if (XGetWindowAttributes(x.display, event.xmap.window, &attributes) != 0 && attributes.width >= kMinGameSide
            && attributes.height >= kMinGameSide) {
            mappedAt_ = nowMs();
            x.game = event.xmap.window;
        }
    } else if (event.type == DestroyNotify) {
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

std::size_t GameSession::updatesInStep(std::size_t from) const
{
    const std::vector<std::uint64_t> blanks = updateBlanks();
    std::size_t inStep = 0;
    for (std::size_t i = from + 1; i < blanks.size(); ++i) {
        inStep += blanks[i] - blanks[i - 1] == 1 ? 1 : 0;
    }
    return inStep;
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

QRect GameSession::geometry() const
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

WindowHints GameSession::hints() const
{
    WindowHints hints;
    hints.title = x_->property("_NET_WM_NAME");
    // Motif window manager hints: flags, functions, decorations, input mode,
    // status; flag 2 says the decorations field counts.
    const std::string motif = x_->property("_MOTIF_WM_HINTS");
    const auto* fields = reinterpret_cast<const long*>(motif.data());
    hints.undecorated = motif.size() >= 3 * sizeof(long) && (fields[0] & 2) != 0 && fields[2] == 0;
    const std::string protocols = x_->property("WM_PROTOCOLS");
    const auto* atoms = reinterpret_cast<const long*>(protocols.data());
    const long deleteWindow = static_cast<long>(XInternAtom(x_->display, "WM_DELETE_WINDOW", False));
    hints.closable = std::count(atoms, atoms + protocols.size() / sizeof(long), deleteWindow) > 0;
    XSizeHints size {};
    long supplied = 0;
    if (x_->game != 0 && XGetWMNormalHints(x_->display, x_->game, &size, &supplied) != 0) {
        hints.minimum = (size.flags & PMinSize) != 0 ? QSize(size.min_width, size.min_height) : QSize();
        hints.maximum = (size.flags & PMaxSize) != 0 ? QSize(size.max_width, size.max_height) : QSize();
    }
    return hints;
}

QImage GameSession::windowShot() const
{
    return x_->grab(QRect(QPoint(), geometry().size()));
}

QImage GameSession::readBoard(std::optional<QPoint> near) const
{
    QRect part(0, 0, layout::kBoard.width, layout::kBoard.height);
    if (near) {
        part = QRect(std::clamp(near->x() - kNearSize / 2, 0, part.width() - kNearSize),
            std::clamp(near->y() - kNearSize / 2, 0, part.height() - kNearSize), kNearSize, kNearSize);
    }
    QImage view = x_->grab(part.translated(onBoard(0, 0)));
    view.setOffset(part.topLeft());
    return view;
}

void GameSession::moveTo(QPoint at) const
{
    const QPoint screen = geometry().topLeft() + at;
    XTestFakeMotionEvent(x_->display, -1, screen.x(), screen.y(), CurrentTime);
    XSync(x_->display, False);
}

void GameSession::clickAt(QPoint at) const
{
    moveTo(at);
    XTestFakeButtonEvent(x_->display, 1, True, CurrentTime);
    XTestFakeButtonEvent(x_->display, 1, False, CurrentTime);
    XSync(x_->display, False);
}

void GameSession::pressKey(const char* keysym) const
{
    const KeyCode code = XKeysymToKeycode(x_->display, XStringToKeysym(keysym));
    XTestFakeKeyEvent(x_->display, code, True, CurrentTime);
    XTestFakeKeyEvent(x_->display, code, False, CurrentTime);
    XSync(x_->display, False);
}

void GameSession::moveWindow(int x, int y) const
{
    XMoveWindow(x_->display, x_->game, x, y);
    XSync(x_->display, False);
}

void GameSession::closeWindow() const
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = x_->game;
    event.xclient.message_type = XInternAtom(x_->display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(x_->display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x_->display, x_->game, False, NoEventMask, &event);
    XSync(x_->display, False);
}

std::optional<int> GameSession::waitForExit(double ms)
{
    if (!waitFor([this] { return !game_.running(); }, ms)) {
        error_ = "the game still runs after " + std::to_string(static_cast<int>(ms)) + " ms";
    } else if (!game_.exitStatus()) {
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

void GameSession::steer(int middle, bool click)
{
    middle_ = middle;
    movedAt_ = nowMs();
    click ? clickAt(onBoard(middle, kSteeringY)) : moveTo(onBoard(middle, kSteeringY));
}

void GameSession::lookAndAct()
{
    // Near where the ball was last: a small read. The whole board only when it
    // is not there, and not at all while no ball has been seen (a waiting game
    // is checked at the next look anyway).
    std::optional<QPoint> ball = findBall(readBoard(lastBall_));
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
        steer(middle_ + (middle_ < Player::kMiddleMax ? 1 : -1), true);
    } else if (decision.click == Click::NewGame) {
        newGame();
    }
}

} // namespace support
