// The player's hands: the pointer and the keyboard as the window system hands
// them to the game's window, so that Qt itself routes them as on a desktop:
// to the widget under the pointer, with an enter and a leave whenever it
// crosses from one widget to another, and while a button is held to the
// widget that got the press, wherever the pointer is. The pointer lives in
// screen coordinates (System.MouseX reads it).
#pragma once

#include <QEvent>
#include <QPoint>
#include <QString>

namespace platform {
class RectControl;
class Window;
} // namespace platform

namespace fuzz {

class PlayerInput {
public:
    // Takes over System.MouseX for the pointer's screen x; gives it back when done.
    explicit PlayerInput(platform::Window& window);
    ~PlayerInput();
    PlayerInput(const PlayerInput&) = delete;
    PlayerInput& operator=(const PlayerInput&) = delete;

    // Anywhere on the screen, also off the window.
    void moveToScreen(QPoint screen);
    // To a point of the window, in window coordinates.
    void moveToWindow(QPoint local);
    void moveOnto(const platform::RectControl& control);
    // Tells the window that the pointer came onto it or went off it, when
    // the pointer or the window moved (a window manager moves it under a
    // pointer that stays where it is on the screen).
    void crossWindowEdge();

    // Left button unless told otherwise; a press while one is held, or a
    // release with none held, is not sent (a mouse cannot do either).
    void press(bool left = true);
    void release();
    void click()
    {
        press();
        release();
    }
    // A key pressed and released while the window is active; text as Qt gives it.
    void key(int qtKey, const QString& text);

    [[nodiscard]] bool held() const { return button_ != Qt::NoButton; }

private:
    [[nodiscard]] QPoint inWindow() const;
    void send(QEvent& event);
    void sendMouse(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons);

    platform::Window& window_;
    QPoint screen_;
    bool over_ = false; // the window has had an enter and no leave since
    Qt::MouseButton button_ = Qt::NoButton; // the one held
};

} // namespace fuzz
