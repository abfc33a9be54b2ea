#include "fuzz/player_input.h"

#include "platform/control.h"
#include "platform/globals.h"
#include "platform/widgets.h"
#include "platform/window.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace fuzz {

PlayerInput::PlayerInput(platform::Window& window)
    : window_(window)
{
    platform::setMouseXSource([this] { return screen_.x(); });
}

PlayerInput::~PlayerInput()
{
    platform::setMouseXSource({});
}

QPoint PlayerInput::inWindow() const
{
    return screen_ - QPoint(window_.Left(), window_.Top());
}

QWidget* PlayerInput::widgetAt(QPoint screen) const
{
    QWidget& top = window_.widget();
    const QPoint local = screen - QPoint(window_.Left(), window_.Top());
    if (!top.rect().contains(local)) {
        return nullptr; // off the window: the events go to someone else
    }
    // childAt passes over hidden widgets and those that let the pointer through.
    QWidget* child = top.childAt(local);
    return child != nullptr ? child : &top;
}

QWidget* PlayerInput::target() const
{
    return grabber_ != nullptr ? grabber_ : widgetAt(screen_);
}

platform::RectControl* PlayerInput::controlOf(const QWidget* widget) const
{
    for (const auto& control : window_.controls()) {
        auto* shown = dynamic_cast<platform::RectControl*>(control.get());
        if (shown != nullptr && static_cast<const QWidget*>(&shown->widget()) == widget) {
            return shown;
        }
    }
    return nullptr;
}

void PlayerInput::send(QWidget* to, QEvent& event, QPoint local, bool left)
{
    QApplication::sendEvent(to, &event);
    if (onDelivered) {
        onDelivered(event.type(), to, local, left);
    }
}

void PlayerInput::crossTo(QWidget* under)
{
    if (under == hovered_) {
        return;
    }
    if (hovered_ != nullptr) {
        QEvent leave(QEvent::Leave);
        send(hovered_, leave, {});
    }
    hovered_ = under;
    if (under != nullptr) {
        const QPoint local = under->mapFrom(&window_.widget(), inWindow());
        QEnterEvent enter(local, inWindow(), screen_);
        send(under, enter, local);
    }
}

void PlayerInput::sendMouse(QEvent::Type type, QWidget* to, Qt::MouseButton button, Qt::MouseButtons held)
{
    const QPoint local = to == &window_.widget() ? inWindow() : to->mapFrom(&window_.widget(), inWindow());
    QMouseEvent event(type, local, inWindow(), screen_, button, held, Qt::NoModifier);
    send(to, event, local, leftHeld_);
}

void PlayerInput::sendMove()
{
    if (QWidget* to = target(); to != nullptr) {
        sendMouse(QEvent::MouseMove, to, Qt::NoButton, held() ? heldButton() : Qt::NoButton);
    }
}

void PlayerInput::moveToScreen(QPoint screen)
{
    screen_ = screen;
    if (grabber_ == nullptr) {
        crossTo(widgetAt(screen_));
    }
    sendMove();
}

void PlayerInput::moveToWindow(QPoint local)
{
    moveToScreen(local + QPoint(window_.Left(), window_.Top()));
}

void PlayerInput::moveOnto(const platform::RectControl& control)
{
    moveToWindow(QPoint(control.left() + control.width() / 2, control.top() + control.height() / 2));
}

void PlayerInput::windowMoved()
{
    if (grabber_ == nullptr) {
        crossTo(widgetAt(screen_));
    }
}

void PlayerInput::press(bool left)
{
    QWidget* to = widgetAt(screen_);
    if (grabber_ != nullptr || to == nullptr) {
        return;
    }
    crossTo(to);
    grabber_ = to;
    leftHeld_ = left;
    sendMouse(QEvent::MouseButtonPress, to, heldButton(), heldButton());
}

void PlayerInput::release()
{
    if (QWidget* from = std::exchange(grabber_, nullptr); from != nullptr) {
        sendMouse(QEvent::MouseButtonRelease, from, heldButton(), Qt::NoButton);
        // The grab is over: whatever the pointer is over now hears of it.
        crossTo(widgetAt(screen_));
    }
}

void PlayerInput::click()
{
    press();
    release();
}

void PlayerInput::key(int qtKey, const QString& text)
{
    const auto qkey = static_cast<Qt::Key>(qtKey);
    QKeyEvent down(QEvent::KeyPress, qkey, Qt::NoModifier, text);
    QApplication::sendEvent(&window_.widget(), &down);
    QKeyEvent up(QEvent::KeyRelease, qkey, Qt::NoModifier, text);
    QApplication::sendEvent(&window_.widget(), &up);
}

} // namespace fuzz
