#include "x_session.h"

#include <QStandardPaths>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>
#include <thread>
#include <utility>

namespace e2e {

namespace {

// Where the layout puts what the players reach, in window coordinates.
constexpr int kBoardLeft = 20; // feld
constexpr int kBoardTop = 20;
constexpr int kNeuCentreX = 761 + 100 / 2;
constexpr int kNeuCentreY = 656 + 40 / 2;
constexpr int kQuitCentreX = 868 + 20 / 2;
constexpr int kQuitCentreY = 7 + 20 / 2;

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
    return QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty() ? "not installed: Xvfb" : "";
}

XSession::XSession(QString gameProgram)
    : gameProgram_(std::move(gameProgram))
{
}

XSession::~XSession()
{
    stop(game_);
    x_.reset(); // before the server goes, or Xlib ends this program
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
        error_ = "Xvfb did not start: " + server_.errorString().toStdString();
        return false;
    }
    while (!server_.canReadLine()) {
        if (server_.state() == QProcess::NotRunning || Clock::now() >= deadline) {
            error_ = "Xvfb named no display";
            return false;
        }
        server_.waitForReadyRead(static_cast<int>(kPoll.count()));
    }
    const QString display = QLatin1Char(':') + QString::fromLatin1(server_.readLine().trimmed());
    x_ = std::make_unique<xdrive::XDisplay>(display.toStdString());
    if (!x_->isOpen() || !x_->hasInputExtension()) {
        error_ = "cannot connect to Xvfb with XTest on " + display.toStdString();
        return false;
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    // A real X server, whatever the test program itself runs on; no scaling,
    // so that a window pixel is a screen pixel.
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char* name : { "WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS",
             "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI" }) {
        environment.remove(QString::fromLatin1(name));
    }
    environment.insert(gameEnvironment_);
    game_.setProcessEnvironment(environment);
    return true;
}

bool XSession::startGame(Clock::time_point deadline)
{
    game_.setProcessChannelMode(QProcess::MergedChannels);
    game_.setChildProcessModifier(dieWithParent);
    game_.start(gameProgram_, {});
    if (!game_.waitForStarted(milliseconds(deadline))) {
        error_ = "cannot start " + gameProgram_.toStdString() + ": " + game_.errorString().toStdString();
        return false;
    }
    const bool shown = waitFor(
        [this] {
            window_ = x_->findWindow("Zindra");
            return window_ != 0 || game_.state() == QProcess::NotRunning;
        },
        std::chrono::duration_cast<Millis>(deadline - Clock::now()));
    if (window_ == 0) {
        error_ = shown ? "the game ended before it showed a window" : "the game showed no window in time";
        return false;
    }
    return true;
}

QString XSession::gameOutput()
{
    output_ += game_.readAll();
    return QString::fromLocal8Bit(output_);
}

QImage XSession::screenshot() const
{
    const xdrive::Image screen = x_ ? x_->screen() : xdrive::Image {};
    if (screen.pixels.empty()) {
        return {};
    }
    return QImage(reinterpret_cast<const uchar*>(screen.pixels.data()), screen.width, screen.height,
        QImage::Format_RGB32)
        .copy();
}

QImage XSession::windowShot() const
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

bool XSession::saveScreenshot(const QString& path) const
{
    const QImage screen = screenshot();
    return !screen.isNull() && screen.save(path, "PNG");
}

void XSession::moveTo(int x, int y) const
{
    const Geometry window = geometry();
    x_->movePointer(window.x + x, window.y + y);
}

void XSession::clickAt(int x, int y) const
{
    moveTo(x, y);
    x_->click();
}

void XSession::moveOverBoard(int x, int y) const
{
    moveTo(kBoardLeft + x, kBoardTop + y);
}

void XSession::clickOnBoard(int x, int y) const
{
    clickAt(kBoardLeft + x, kBoardTop + y);
}

void XSession::clickNeu() const
{
    clickAt(kNeuCentreX, kNeuCentreY);
}

void XSession::clickQuit() const
{
    clickAt(kQuitCentreX, kQuitCentreY);
}

bool XSession::closeWindow()
{
    if (!x_ || !x_->closeWindow(window_)) {
        error_ = "no window that takes WM_DELETE_WINDOW";
        return false;
    }
    return true;
}

std::optional<int> XSession::waitForExit(Millis timeout)
{
    if (!waitFor([this] { return game_.state() == QProcess::NotRunning; }, timeout)) {
        error_ = "the game still runs after " + std::to_string(timeout.count()) + " ms";
        return std::nullopt;
    }
    if (game_.exitStatus() == QProcess::CrashExit) {
        error_ = "the game crashed";
        return std::nullopt;
    }
    return game_.exitCode();
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

} // namespace e2e
