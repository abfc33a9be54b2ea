// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/widgets.h"

#include "platform/canvas.h"
#include "platform/frame_pacer.h"
#include "platform/picture.h"
#include "platform/startup_trace.h"
#include "platform/surface.h"
#include "platform/window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace platform::detail {

namespace {

// Copies the area (in the game's pixels) of the surface to the screen: device
// pixel for device pixel when the screen has the surface's density, smoothly
// scaled when it has another (a desktop scaled by 1.5 gets the finer art).
void drawSurface(QPainter& painter, const QRect& area, const Surface& surface)
{
    if (painter.device()->devicePixelRatioF() != surface.scale) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }
    painter.drawImage(area, surface.image, surface.deviceRect(area));
}

} // namespace

ControlWidget::ControlWidget(RectControl& control, QWidget* parent)
    : QWidget(parent)
    , control_(control)
{
    setFocusPolicy(Qt::NoFocus);
    // Only a canvas takes the pointer (see takePointer); the others let it
    // through to what lies beneath.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

ControlWidget::~ControlWidget()
{
    FramePacer::instance().forget(this);
}

void ControlWidget::takePointer()
{
    setAttribute(Qt::WA_TransparentForMouseEvents, false);
    setMouseTracking(true);
}

Canvas* ControlWidget::canvas() const
{
    return dynamic_cast<Canvas*>(&control_);
}

void ControlWidget::setOpaque(bool opaque)
{
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
}

void ControlWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (control_.keepsPixels()) {
        drawSurface(painter, event->rect(), control_.surface());
        return;
    }
    ScreenArea screen { painter, event->rect() };
    control_.drawOnScreen(screen);
}

void ControlWidget::enterEvent(QEnterEvent* /*event*/)
{
    if (Canvas* target = canvas()) {
        dispatch("MouseEnter", [&] { target->MouseEnter(); });
    }
}

void ControlWidget::leaveEvent(QEvent* /*event*/)
{
    if (Canvas* target = canvas()) {
        dispatch("MouseExit", [&] { target->MouseExit(); });
    }
}

void ControlWidget::mouseMoveEvent(QMouseEvent* event)
{
    Canvas* target = canvas();
    if (target == nullptr) {
        return;
    }
    const QPoint at = event->position().toPoint();
    if (pressClaimed_) {
        dispatch("MouseDrag", [&] { target->MouseDrag(at.x(), at.y()); });
    } else {
        dispatch("MouseMove", [&] { target->MouseMove(at.x(), at.y()); });
    }
}

void ControlWidget::mousePressEvent(QMouseEvent* event)
{
    Canvas* target = canvas();
    if (target == nullptr || event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = event->position().toPoint();
    bool claimed = false;
    dispatch("MouseDown", [&] { claimed = target->MouseDown(at.x(), at.y()); });
    pressClaimed_ = claimed;
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* event)
{
    Canvas* target = canvas();
    if (target == nullptr || event->button() != Qt::LeftButton) {
        return;
    }
    if (pressClaimed_) {
        // Qt grabs the pointer for the widget that got the press, so the
        // release arrives here wherever the pointer is now.
        pressClaimed_ = false;
        const QPoint at = event->position().toPoint();
        dispatch("MouseUp", [&] { target->MouseUp(at.x(), at.y()); });
    }
}

WindowWidget::WindowWidget(Window& window)
    : QWidget(nullptr)
    , window_(window)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WindowWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    if (Picture* backdrop = window_.backdrop()) {
        drawSurface(painter, area, backdrop->surface());
    } else {
        painter.fillRect(area, Qt::white);
    }
    painter.end();
    dispatch("Paint", [&] { window_.Event_Paint(window_.paintGraphics()); });
    if (!painted_) {
        painted_ = true;
        traceStartup("window backdrop painted");
        // The controls are painted after their window, in the same pass, and
        // the pass is handed to the display before the next event.
        QTimer::singleShot(0, [] { traceStartup("first frame painted"); });
    }
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    bool consumed = false;
    const std::string key = event->text().toStdString();
    dispatch("KeyDown", [&] { consumed = window_.Event_KeyDown(key); });
    if (!consumed) {
        event->ignore();
    }
}

void WindowWidget::closeEvent(QCloseEvent* event)
{
    dispatch("Close", [&] { window_.Event_Close(); });
    event->accept();
}

} // namespace platform::detail
