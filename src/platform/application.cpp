#include "platform/application.h"

#include "platform/cursor.h"
#include "platform/cursor_data.h"
#include "platform/display_probe.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace platform {

namespace {

Application* theApplication = nullptr;

// The one place that knows how the art is stored (the generator writes it):
// the picture with the id drawn at the scale, or a null image.
QImage readArt(int id, int scale)
{
    return QImage(scale == 1 ? QStringLiteral(":/pictures/%1.png").arg(id)
                             : QStringLiteral(":/pictures/%1@%2x.png").arg(id).arg(scale));
}

} // namespace

std::shared_ptr<Picture> ResourceFork::GetPicture(int id) const
{
    // The art drawn for the screen's density, else the plain art (Qt then
    // scales it where it is drawn).
    int scale = detail::surfaceScale();
    QImage image = readArt(id, scale);
    if (image.isNull() && scale != 1) {
        scale = 1;
        image = readArt(id, scale);
    }
    if (image.isNull()) {
        return nullptr;
    }
    return std::make_shared<Picture>(std::make_unique<detail::Surface>(std::move(image), scale));
}

std::shared_ptr<MouseCursor> ResourceFork::getCursor(int id) const
{
    const QString path = QStringLiteral(":/cursors/%1.png").arg(id);
    if (!QFile::exists(path)) {
        return nullptr;
    }
    QPixmap pixmap(path);
    if (pixmap.isNull()) {
        return nullptr;
    }
    auto data = std::make_unique<detail::CursorData>(
        detail::CursorData { QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2), false });
    return std::make_shared<MouseCursor>(std::move(data));
}

struct Runtime::Impl {
    std::unique_ptr<QApplication> qt; // null when the caller made its own
};

Runtime::Runtime(int& argc, char** argv)
    : impl_(std::make_unique<Impl>())
{
    if (QApplication::instance() == nullptr) {
        impl_->qt = std::make_unique<QApplication>(argc, argv);
    }
    closeDisplayProbe();
    QApplication::setApplicationName(QStringLiteral("Zindra"));
    // The menu entry's name, by which a desktop finds the window's icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZINDRA_APP_ID));
    // Every surface made from now on matches the screen the window opens on.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        detail::setSurfaceScale(detail::surfaceScaleFor(screen->devicePixelRatio()));
    }
}

Runtime::~Runtime() = default;

void Runtime::preferX11OnWayland()
{
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    const bool wayland = qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (!chosen && wayland && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

void Runtime::registerClass(std::string name)
{
    classes_.push_back(std::move(name));
}

void Runtime::afterStart(std::function<void()> work, std::chrono::milliseconds delay)
{
    QTimer::singleShot(
        delay, QCoreApplication::instance(), [work = std::move(work)] { dispatch("start", work); });
}

int Runtime::run()
{
    status_ = quitRequested() ? quitCode() : QApplication::exec();
    return status_;
}

int Runtime::shutdown()
{
    impl_->qt.reset();
    return status_;
}

Application::Application()
{
    theApplication = this;
}

Application::~Application()
{
    if (theApplication == this) {
        theApplication = nullptr;
    }
}

Application* Application::instance()
{
    return theApplication;
}

} // namespace platform
