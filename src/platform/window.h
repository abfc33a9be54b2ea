// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A top-level window that keeps its controls by name (and index), paints its
// backdrop and raises its own Open, Close, KeyDown and Paint events.
#pragma once

#include "platform/control.h"
#include "platform/globals.h"
#include "platform/graphics.h"

#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>
#include <vector>

namespace platform {

class MouseCursor;
class Picture;
namespace detail {
class Surface;
class WindowWidget;
} // namespace detail

class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates a control of class T on this window and registers it under its
    // name (and index). Controls keep the order of their creation.
    template <class T, class... Args> T& add(std::string name, std::int32_t index, Args&&... args)
    {
        auto control = std::make_unique<T>(*this, std::move(name), index, std::forward<Args>(args)...);
        T& ref = *control;
        registerControl(std::move(control));
        return ref;
    }

    // The control with that name (and index); raises NilObjectError when there
    // is none, or when it is not of class T.
    template <class T = Control>
    [[nodiscard]] T& control(std::string_view name, std::int32_t index = kNoIndex) const
    {
        auto* typed = dynamic_cast<T*>(findControl(name, index));
        if (typed == nullptr) {
            throwMissing(name, index);
        }
        return *typed;
    }
    // The control, or null.
    [[nodiscard]] Control* findControl(std::string_view name, std::int32_t index = kNoIndex) const;
    [[nodiscard]] const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Window properties.
    void setTitle(const std::string& title);
    // Fixed size: the user cannot resize the window.
    void setFixedSize(int width, int height);
    // No title bar and no frame of the window manager.
    void setFrameless(bool frameless);
    void setBackdrop(std::shared_ptr<Picture> backdrop);
    [[nodiscard]] Picture* backdrop() const { return backdrop_.get(); }
    void setBackColor(Color color) { backColor_ = color; }
    [[nodiscard]] Color BackColor() const { return backColor_; }
    void setMouseCursor(const MouseCursor& cursor);
    [[nodiscard]] const MouseCursor* mouseCursor() const { return cursor_; }

    // Screen position of the window's top-left corner, and its content size.
    [[nodiscard]] int Left() const;
    [[nodiscard]] int Top() const;
    void setTop(int top);
    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;

    // Shows the window centred on the main screen, raises Open, then paints
    // every control once.
    void show();
    [[nodiscard]] bool isVisible() const;
    void close();

    // The window's own events; a subclass overrides them.
    virtual void Event_Open() { }
    virtual void Event_Close() { }
    virtual bool Event_KeyDown(const std::string& key)
    {
        (void)key;
        return false;
    }
    virtual void Event_Paint(Graphics& g) { (void)g; }

    [[nodiscard]] detail::WindowWidget& widget() const { return *widget_; }
    // The graphics handed to Event_Paint. The window shows only its backdrop:
    // what is drawn here is not shown.
    [[nodiscard]] Graphics& paintGraphics();

private:
    void registerControl(std::unique_ptr<Control> control);
    [[noreturn]] static void throwMissing(std::string_view name, std::int32_t index);

    std::unique_ptr<detail::WindowWidget> widget_;
    std::unique_ptr<detail::Surface> paintSurface_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::shared_ptr<Picture> backdrop_;
    Color backColor_ = 0xFFFFFF;
    const MouseCursor* cursor_ = nullptr;
};

} // namespace platform
