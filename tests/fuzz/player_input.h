// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player's hands: the pointer and the keyboard as the window system hands
// them to the game's window, so that Qt itself routes them as on a desktop:
// to the widget under the pointer, with an enter and a leave whenever it
// crosses from one widget to another, and while a button is held to the
// widget that got the press, wherever the pointer is. The pointer lives in
// screen coordinates (System.MouseX reads it).
#pragma once

#include "platform/widgets.h"
#include "platform/window.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

#include <utility>

namespace fuzz {

class PlayerInput {
public:
    // Takes over System.MouseX for the pointer's screen x; gives it back when done.
    explicit PlayerInput(platform::Window& window)
        : window_(window)
    {
        platform::setMouseXSource([this] { return screen_.x(); });
    }
    ~PlayerInput() { platform::setMouseXSource({}); }
    PlayerInput(const PlayerInput&) = delete;
    PlayerInput& operator=(const PlayerInput&) = delete;

    // Anywhere on the screen, also off the window.
    void moveToScreen(QPoint screen)
    {
        screen_ = screen;
        crossWindowEdge();
        if (over_) {
            sendMouse(QEvent::MouseMove, Qt::NoButton, button_);
        }
    }
    // To a point of the window, in window coordinates.
    void moveToWindow(QPoint local) { moveToScreen(local + QPoint(window_.Left(), window_.Top())); }
    void moveOnto(const platform::RectControl& control)
    {
        moveToWindow(QPoint(control.left() + control.width() / 2, control.top() + control.height() / 2));
    }

    // Tells the window that the pointer came onto it or went off it, when the
    // pointer or the window moved (a window manager moves it under a pointer
    // that stays where it is on the screen); not while a button is held: then
    // the window keeps the pointer until the release.
    void crossWindowEdge()
    {
        const bool over = window_.widget().rect().contains(inWindow());
        if (held() || over == over_) {
            return;
        }
        over_ = over;
        QEnterEvent enter(inWindow(), inWindow(), screen_);
        QEvent leave(QEvent::Leave);
        send(over ? static_cast<QEvent&>(enter) : leave);
    }

    // Left button unless told otherwise; a press while one is held, or a
    // release with none held, is not sent (a mouse cannot do either).
    void press(bool left = true)
    {
        if (!held() && over_) {
            button_ = left ? Qt::LeftButton : Qt::RightButton;
            sendMouse(QEvent::MouseButtonPress, button_, button_);
        }
    }
    void release()
    {
        if (held()) {
            sendMouse(QEvent::MouseButtonRelease, std::exchange(button_, Qt::NoButton), Qt::NoButton);
            crossWindowEdge();
        }
    }
    void click()
    {
        press();
        release();
    }

    // A key pressed and released while the window is active; text as Qt gives it.
    void key(int qtKey, const QString& text)
    {
        for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
            QKeyEvent event(type, qtKey, Qt::NoModifier, text);
            QCoreApplication::sendEvent(&window_.widget(), &event);
        }
    }

    [[nodiscard]] bool held() const { return button_ != Qt::NoButton; }

private:
    [[nodiscard]] QPoint inWindow() const { return screen_ - QPoint(window_.Left(), window_.Top()); }
    void send(QEvent& event) { QCoreApplication::sendEvent(window_.widget().windowHandle(), &event); }
    void sendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, inWindow(), inWindow(), screen_, button, buttons, Qt::NoModifier);
        send(event);
    }

    platform::Window& window_;
    QPoint screen_;
    bool over_ = false; // the window has had an enter and no leave since
    Qt::MouseButton button_ = Qt::NoButton; // the one held
};

} // namespace fuzz
