// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/application.h"

#include "platform/art_format.h"

#include "platform/cursor.h"
#include "platform/cursor_data.h"
#include "platform/display_probe.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTimer>


#include <cstdint>
#include <cstring>

namespace platform {

namespace {

Application* theApplication = nullptr;

struct Archive {
    const unsigned char* begin = nullptr;
    const unsigned char* end = nullptr;
};
Archive archive;

// The one place that reads the art as the generator stores it: the entry's
// pixels wrapped where they lie, or a null image when the archive has no
// such entry or is damaged.
QImage archivedImage(art::Kind kind, int id, int scale, bool* opaque = nullptr)
{
    const auto size = static_cast<std::uint64_t>(archive.end - archive.begin);
    art::ArtHeader header {};
    if (archive.begin == nullptr || size < sizeof header) {
        return {};
    }
    std::memcpy(&header, archive.begin, sizeof header);
    if (std::memcmp(header.magic, art::kMagic, sizeof art::kMagic) != 0
        || header.count > (size - sizeof header) / sizeof(art::ArtEntry)) {
        return {};
    }
    for (std::uint32_t i = 0; i < header.count; ++i) {
        art::ArtEntry entry {};
        std::memcpy(&entry, archive.begin + sizeof header + i * sizeof entry, sizeof entry);
        if (entry.kind != kind || entry.id != id || entry.scale != std::uint32_t(scale)) {
            continue;
        }
        const std::uint64_t bytes = std::uint64_t(entry.width) * entry.height * 4;
        if (entry.width == 0 || entry.height == 0 || entry.width > 16384 || entry.height > 16384
            || entry.offset % art::kAlignment != 0 || entry.offset > size || bytes > size - entry.offset) {
            return {};
        }
        if (opaque != nullptr) {
            *opaque = (entry.flags & art::kOpaque) != 0;
        }
        // Read-only: drawing on it copies it first.
        return QImage(archive.begin + entry.offset, int(entry.width), int(entry.height), int(entry.width) * 4,
            QImage::Format_ARGB32_Premultiplied);
    }
    return {};
}

} // namespace

void ResourceFork::setArchive(const unsigned char* begin, const unsigned char* end)
{
    archive = { begin, end };
}

std::shared_ptr<Picture> ResourceFork::GetPicture(int id) const
{
    // The art drawn for the screen's density, else the plain art (Qt then
    // scales it where it is drawn).
    int scale = detail::surfaceScale();
    bool opaque = false;
    QImage image = archivedImage(art::Kind::Picture, id, scale, &opaque);
    if (image.isNull() && scale != 1) {
        scale = 1;
        image = archivedImage(art::Kind::Picture, id, scale, &opaque);
    }
    if (image.isNull()) {
        return nullptr;
    }
    return std::make_shared<Picture>(std::make_unique<detail::Surface>(std::move(image), scale, opaque));
}

std::shared_ptr<MouseCursor> ResourceFork::getCursor(int id) const
{
    const QImage image = archivedImage(art::Kind::Cursor, id, 1);
    if (image.isNull()) {
        return nullptr;
    }
    const QPixmap pixmap = QPixmap::fromImage(image);
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

namespace {

// Watches the application's events for the first press of a button or key.
class FirstInput : public QObject {
public:
    explicit FirstInput(std::function<void()> work)
        : QObject(QCoreApplication::instance())
        , work_(std::move(work))
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
            QCoreApplication::instance()->removeEventFilter(this);
            dispatch("first input", work_);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> work_;
};

} // namespace

void Runtime::onFirstInput(std::function<void()> work)
{
    new FirstInput(std::move(work)); // owned by the application object
}

int Runtime::run()
{
    status_ = QApplication::exec();
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
