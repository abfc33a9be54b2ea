#include "fuzz/player_input.h"

#include "platform/control.h"
#include "platform/globals.h"
#include "platform/widgets.h"
#include "platform/window.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

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

void PlayerInput::send(QEvent& event)
{
    QCoreApplication::sendEvent(window_.widget().windowHandle(), &event);
}

void PlayerInput::sendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, inWindow(), inWindow(), screen_, button, buttons, Qt::NoModifier);
    send(event);
}

// The window hears of the pointer coming onto it or going off it, except
// while a button is held: then it keeps the pointer until the release.
void PlayerInput::crossWindowEdge()
{
    const bool over = window_.widget().rect().contains(inWindow());
    if (held() || over == over_) {
        return;
    }
    over_ = over;
    if (over) {
        QEnterEvent enter(inWindow(), inWindow(), screen_);
        send(enter);
    } else {
        QEvent leave(QEvent::Leave);
        send(leave);
    }
}

void PlayerInput::moveToScreen(QPoint screen)
{
    screen_ = screen;
    crossWindowEdge();
    if (over_) {
        sendMouse(QEvent::MouseMove, Qt::NoButton, button_);
    }
}

void PlayerInput::moveToWindow(QPoint local)
{
    moveToScreen(local + QPoint(window_.Left(), window_.Top()));
}

void PlayerInput::moveOnto(const platform::RectControl& control)
{
    moveToWindow(QPoint(control.left() + control.width() / 2, control.top() + control.height() / 2));
}

void PlayerInput::press(bool left)
{
    if (!held() && over_) {
        button_ = left ? Qt::LeftButton : Qt::RightButton;
        sendMouse(QEvent::MouseButtonPress, button_, button_);
    }
}

void PlayerInput::release()
{
    if (held()) {
        sendMouse(QEvent::MouseButtonRelease, std::exchange(button_, Qt::NoButton), Qt::NoButton);
        crossWindowEdge();
    }
}

void PlayerInput::key(int qtKey, const QString& text)
{
    for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&window_.widget(), &event);
    }
}

} // namespace fuzz
