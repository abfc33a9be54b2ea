#include "x_session.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>
#include <thread>
#include <utility>

// Xlib last: its macros (None, Bool, Status, ...) would clash with the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace e2e {

namespace {

// Where the layout puts what the players reach, in window coordinates.
constexpr int kBoardLeft = 20; // feld
constexpr int kBoardTop = 20;
constexpr int kNeuCentreX = 761 + 100 / 2;
constexpr int kNeuCentreY = 656 + 40 / 2;
constexpr int kQuitCentreX = 868 + 20 / 2;
constexpr int kQuitCentreY = 7 + 20 / 2;

// Motif window manager hints: the flag that says the decorations field counts.
constexpr long kMotifHintsDecorations = 1L << 1;

// A window may vanish between finding it and asking about it; such an error
// must not end the test program, which is what Xlib's own handler does.
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

// The server and the game die with the test program, also when ctest kills it.
void dieWithParent()
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

int milliseconds(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
    return static_cast<int>(std::max<long long>(left, 1));
}

} // namespace

std::string XSession::missingTools()
{
    std::string missing;
    for (const char* tool : { "Xvfb", "xdotool", "import" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            missing += (missing.empty() ? "not installed: " : ", ") + std::string(tool);
        }
    }
    return missing;
}

XSession::XSession(QString gameProgram)
    : gameProgram_(std::move(gameProgram))
{
    XSetErrorHandler(ignoreXErrors);
}

XSession::~XSession()
{
    stop(game_);
    if (connection_ != nullptr) {
        XCloseDisplay(connection_); // before the server goes, or Xlib ends this program
    }
    stop(server_);
}

void XSession::setScreenSize(int width, int height)
{
    screenWidth_ = width;
    screenHeight_ = height;
}

void XSession::setGameEnvironment(const QString& name, const QString& value)
{
    gameEnvironment_.insert(name, value);
}

bool XSession::start(Millis timeout)
{
    const auto deadline = Clock::now() + timeout;
    return startServer(deadline) && startGame(deadline);
}

bool XSession::startServer(Clock::time_point deadline)
{
    // -displayfd: the server picks a free display and writes its number to
    // our end of the pipe once it accepts connections.
    server_.setProgram(QStringLiteral("Xvfb"));
    server_.setArguments({ QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
        QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(screenWidth_).arg(screenHeight_),
        QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset") });
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.setChildProcessModifier(dieWithParent);
    server_.start();
    if (!server_.waitForStarted(milliseconds(deadline))) {
        fail("Xvfb did not start: " + server_.errorString().toStdString());
        return false;
    }
    while (!server_.canReadLine()) {
        if (server_.state() == QProcess::NotRunning) {
            fail("Xvfb ended before it named its display");
            return false;
        }
        if (Clock::now() >= deadline) {
            fail("Xvfb named no display before the deadline");
            return false;
        }
        server_.waitForReadyRead(static_cast<int>(kPoll.count()));
    }
    display_ = QLatin1Char(':') + QString::fromLatin1(server_.readLine().trimmed());

    connection_ = XOpenDisplay(display_.toLocal8Bit().constData());
    if (connection_ == nullptr) {
        fail("cannot connect to Xvfb on " + display_.toStdString());
        return false;
    }

    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("DISPLAY"), display_);
    // A real X server, whatever the test program itself runs on; no scaling,
    // so that a window pixel is a screen pixel.
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char* name : { "WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
             "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI" }) {
        environment_.remove(QString::fromLatin1(name));
    }
    environment_.insert(gameEnvironment_);
    return true;
}

bool XSession::startGame(Clock::time_point deadline)
{
    game_.setProcessEnvironment(environment_);
    game_.setProcessChannelMode(QProcess::MergedChannels);
    game_.setChildProcessModifier(dieWithParent);
    game_.start(gameProgram_, {});
    if (!game_.waitForStarted(milliseconds(deadline))) {
        fail("cannot start " + gameProgram_.toStdString() + ": " + game_.errorString().toStdString());
        return false;
    }
    const bool shown = waitFor(
        [this] {
            window_ = findGameWindow();
            return window_ != 0 || game_.state() == QProcess::NotRunning;
        },
        std::chrono::duration_cast<Millis>(deadline - Clock::now()));
    if (window_ == 0) {
        fail(shown ? "the game ended before it showed a window"
                   : "the game showed no window before the deadline");
        return false;
    }
    return true;
}

unsigned long XSession::findGameWindow()
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(connection_, DefaultRootWindow(connection_), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        XWindowAttributes attributes {};
        if (XGetWindowAttributes(connection_, children[i], &attributes) != 0
            && attributes.map_state == IsViewable
            && titleOf(children[i]).startsWith(QStringLiteral("Zindra"))) {
            found = children[i];
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

QByteArray XSession::property(unsigned long window, const char* name, unsigned long& type, int& format)
{
    const Atom atom = XInternAtom(connection_, name, False);
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    type = 0;
    format = 0;
    if (XGetWindowProperty(connection_, window, atom, 0, 4096, False, AnyPropertyType, &type, &format, &count,
            &remaining, &data)
            != Success
        || data == nullptr) {
        return {};
    }
    // Xlib hands 32-bit items over as longs.
    const std::size_t itemSize = format == 32 ? sizeof(long) : format == 16 ? sizeof(short) : 1;
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(count * itemSize));
    XFree(data);
    return bytes;
}

QString XSession::gameOutput()
{
    output_ += game_.readAll();
    return QString::fromLocal8Bit(output_);
}

Geometry XSession::geometry()
{
    XWindowAttributes attributes {};
    if (window_ == 0 || XGetWindowAttributes(connection_, window_, &attributes) == 0) {
        return {};
    }
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(connection_, window_, DefaultRootWindow(connection_), 0, 0, &x, &y, &child);
    return { x, y, attributes.width, attributes.height };
}

QString XSession::windowTitle()
{
    return titleOf(window_);
}

QString XSession::titleOf(unsigned long window)
{
    unsigned long type = 0;
    int format = 0;
    QByteArray title = property(window, "_NET_WM_NAME", type, format);
    if (title.isEmpty()) {
        title = property(window, "WM_NAME", type, format);
    }
    return QString::fromUtf8(title);
}

SizeHints XSession::sizeHints()
{
    XSizeHints hints {};
    long supplied = 0;
    if (window_ == 0 || XGetWMNormalHints(connection_, window_, &hints, &supplied) == 0) {
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

bool XSession::asksForNoDecorations()
{
    unsigned long type = 0;
    int format = 0;
    const QByteArray bytes = property(window_, "_MOTIF_WM_HINTS", type, format);
    // flags, functions, decorations, input mode, status
    if (format != 32 || bytes.size() < static_cast<qsizetype>(3 * sizeof(long))) {
        return false;
    }
    const auto* hints = reinterpret_cast<const long*>(bytes.constData());
    return (hints[0] & kMotifHintsDecorations) != 0 && hints[2] == 0;
}

QImage XSession::screenshot()
{
    // -silent: no bell after the grab. An uncompressed picture: a PNG of the
    // wooden screen takes over a second to encode on a busy machine.
    const Result grab = run(QStringLiteral("import"),
        { QStringLiteral("-silent"), QStringLiteral("-window"), QStringLiteral("root"),
            QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("ppm:-") });
    if (grab.exitCode != 0) {
        return {};
    }
    return QImage::fromData(grab.output, "PPM").convertToFormat(QImage::Format_RGB32);
}

QImage XSession::windowShot()
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

bool XSession::saveScreenshot(const QString& path)
{
    const QImage screen = screenshot();
    return !screen.isNull() && screen.save(path, "PNG");
}

void XSession::moveTo(int x, int y)
{
    const Geometry window = geometry();
    const QString screenX = QString::number(window.x + x);
    const QString screenY = QString::number(window.y + y);
    // xdotool's --sync waits for the pointer to move, forever when it is
    // already there.
    const QByteArray where = run(QStringLiteral("xdotool"), { QStringLiteral("getmouselocation") }).output;
    if (where.startsWith(QStringLiteral("x:%1 y:%2 ").arg(screenX, screenY).toLatin1())) {
        return;
    }
    xdotool({ QStringLiteral("mousemove"), QStringLiteral("--sync"), screenX, screenY });
}

void XSession::moveWindow(int x, int y)
{
    xdotool({ QStringLiteral("windowmove"), QStringLiteral("--sync"), QString::number(window_),
        QString::number(x), QString::number(y) });
}

void XSession::clickAt(int x, int y)
{
    moveTo(x, y);
    xdotool({ QStringLiteral("click"), QStringLiteral("1") });
}

void XSession::moveOverBoard(int x, int y)
{
    moveTo(kBoardLeft + x, kBoardTop + y);
}

void XSession::clickOnBoard(int x, int y)
{
    clickAt(kBoardLeft + x, kBoardTop + y);
}

void XSession::clickNeu()
{
    clickAt(kNeuCentreX, kNeuCentreY);
}

void XSession::clickQuit()
{
    clickAt(kQuitCentreX, kQuitCentreY);
}

void XSession::pressKey(const QString& keysym)
{
    xdotool({ QStringLiteral("key"), keysym });
}

bool XSession::closeWindow()
{
    if (window_ == 0) {
        return false;
    }
    // A window manager sends the message only to a window that takes part in
    // the protocol (and kills the client otherwise).
    const Atom deleteWindow = XInternAtom(connection_, "WM_DELETE_WINDOW", False);
    Atom* protocols = nullptr;
    int count = 0;
    bool takesPart = false;
    if (XGetWMProtocols(connection_, window_, &protocols, &count) != 0) {
        for (int i = 0; i < count; ++i) {
            takesPart = takesPart || protocols[i] == deleteWindow;
        }
        XFree(protocols);
    }
    if (!takesPart) {
        fail("the window does not take WM_DELETE_WINDOW");
        return false;
    }
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window_;
    event.xclient.message_type = XInternAtom(connection_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(deleteWindow);
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(connection_, window_, False, NoEventMask, &event) != 0;
    XSync(connection_, False);
    return sent;
}

std::optional<int> XSession::waitForExit(Millis timeout)
{
    if (!waitFor([this] { return game_.state() == QProcess::NotRunning; }, timeout)) {
        fail("the game still runs after " + std::to_string(timeout.count()) + " ms");
        return std::nullopt;
    }
    if (game_.exitStatus() == QProcess::CrashExit) {
        fail("the game crashed");
        return std::nullopt;
    }
    return game_.exitCode();
}

XSession::Result XSession::run(const QString& program, const QStringList& arguments, Millis timeout)
{
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(program, arguments);
    if (!process.waitForFinished(static_cast<int>(timeout.count()))) {
        stop(process);
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return {};
    }
    return { process.exitCode(), process.readAllStandardOutput() };
}

void XSession::xdotool(const QStringList& arguments)
{
    const Result result = run(QStringLiteral("xdotool"), arguments);
    if (result.exitCode != 0) {
        ADD_FAILURE() << "xdotool " << arguments.join(QLatin1Char(' ')).toStdString() << " failed";
    }
}

void XSession::pause()
{
    // Waiting on the game also keeps its output flowing out of the pipe, and
    // returns early when it ends.
    if (game_.state() != QProcess::NotRunning) {
        game_.waitForFinished(static_cast<int>(kPoll.count()));
        return;
    }
    std::this_thread::sleep_for(kPoll);
}

void XSession::fail(std::string message)
{
    error_ = std::move(message);
}

} // namespace e2e
