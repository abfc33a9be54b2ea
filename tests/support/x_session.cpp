#include "x_session.h"

#include "game_layout.h"

#include <QFile>

#include <algorithm>

namespace e2e {

using namespace xdrive::layout;

XSession::XSession(QString gameProgram)
    : gameProgram_(gameProgram.toStdString())
{
}

XSession::~XSession()
{
    game_.stop();
    x_.reset(); // before the server goes, or Xlib ends this program
    server_.stop();
}

void XSession::setScreenSize(int width, int height)
{
    screenWidth_ = width;
    screenHeight_ = height;
}

void XSession::setGameEnvironment(const QString& name, const QString& value)
{
    gameEnvironment_.push_back((name + QLatin1Char('=') + value).toStdString());
}

bool XSession::start(Millis timeout)
{
    const auto deadline = Clock::now() + timeout;
    return startServer(deadline) && startGame(deadline);
}

bool XSession::startServer(Clock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
    if (!server_.start(screenWidth_, screenHeight_, static_cast<int>(std::max<long long>(left, 1)))) {
        error_ = server_.error();
        return false;
    }
    const std::string& display = server_.display();
    x_ = std::make_unique<xdrive::XDisplay>(display);
    if (!x_->isOpen() || !x_->hasInputExtension()) {
        error_ = "cannot connect to Xvfb with XTest on " + display;
        return false;
    }
    // A real X server, whatever the test program itself runs on; no scaling,
    // so that a window pixel is a screen pixel. The test's own settings last.
    gameEnvironment_.insert(gameEnvironment_.begin(), { "DISPLAY=" + display, "QT_QPA_PLATFORM=xcb",
        "WAYLAND_DISPLAY", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING", "QT_FONT_DPI" });
    return true;
}

bool XSession::startGame(Clock::time_point deadline)
{
    if (!dir_.isValid() || !game_.start({ gameProgram_ }, gameEnvironment_, dir_.filePath("game.log").toStdString())) {
        error_ = "cannot start " + gameProgram_;
        return false;
    }
    const bool shown = waitFor(
        [this] {
            window_ = x_->findWindow("Zindra");
            return window_ != 0 || !game_.running();
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
    QFile log(dir_.filePath(QStringLiteral("game.log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
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
    if (!waitFor([this] { return !game_.running(); }, timeout)) {
        error_ = "the game still runs after " + std::to_string(timeout.count()) + " ms";
        return std::nullopt;
    }
    if (!game_.exitStatus()) {
        error_ = "the game crashed";
    }
    return game_.exitStatus();
}

} // namespace e2e
