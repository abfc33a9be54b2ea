// The player's hands on the real widgets: the pointer and the keyboard as Qt
// events, routed the way Qt routes them on a desktop. The pointer lives in
// screen coordinates (System.MouseX reads it); its events go to the widget
// under it, with an enter and a leave whenever it crosses from one widget to
// another, and while a button is held every move and the release go to the
// widget that got the press (Qt's implicit grab), wherever the pointer is.
#pragma once

#include <QEvent>
#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

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

    // Moves the pointer to a screen position (anywhere, also off the window).
    void moveToScreen(QPoint screen);
    // Moves the pointer to a point of the window, in window coordinates.
    void moveToWindow(QPoint local);
    // Moves the pointer to the middle of a control.
    void moveOnto(const platform::RectControl& control);
    // A window manager moved the window: the pointer stays where it is on the
    // screen, so it may now be over another widget.
    void windowMoved();

    // Left button unless told otherwise; a press while one is held, or a
    // release with none held, is not sent (a mouse cannot do either).
    void press(bool left = true);
    void release();
    // A press and a release in the same place.
    void click();

    // A key pressed while the window is active; text as Qt gives it.
    void key(int qtKey, const QString& text);

    // Told of every pointer event right after the widget has handled it: its
    // type, the widget, the position in that widget and whether the button
    // of a press or release is the left one.
    std::function<void(QEvent::Type type, const QWidget* to, QPoint local, bool left)> onDelivered;

    [[nodiscard]] QPoint screen() const { return screen_; }
    [[nodiscard]] QPoint inWindow() const;
    [[nodiscard]] bool held() const { return grabber_ != nullptr; }
    // The widget that gets the pointer's events now: the grabber while a
    // button is held, else the one under the pointer (null off the window).
    [[nodiscard]] QWidget* target() const;
    // The control whose widget this is, or null (the window's own widget).
    [[nodiscard]] platform::RectControl* controlOf(const QWidget* widget) const;

private:
    [[nodiscard]] QWidget* widgetAt(QPoint screen) const;
    void crossTo(QWidget* under);
    void sendMove();
    void sendMouse(QEvent::Type type, QWidget* to, Qt::MouseButton button, Qt::MouseButtons held);
    [[nodiscard]] Qt::MouseButton heldButton() const { return leftHeld_ ? Qt::LeftButton : Qt::RightButton; }
    void send(QWidget* to, QEvent& event, QPoint local, bool left = true);

    platform::Window& window_;
    QPoint screen_;
    QWidget* hovered_ = nullptr; // the widget that last got an enter
    QWidget* grabber_ = nullptr; // the widget that got the held press
    bool leftHeld_ = true; // which button the grabber got
};

} // namespace fuzz
