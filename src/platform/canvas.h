// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A canvas: a rectangular control with a backdrop picture, its own graphics
// and the pointer and paint events.
#pragma once

#include "platform/control.h"
#include "platform/graphics.h"

#include <functional>
#include <memory>

namespace platform {

class Picture;

class Canvas : public RectControl {
public:
    Canvas(Window& window, std::string name, std::int32_t index = kNoIndex);
    ~Canvas() override;

    // Setting the backdrop refills the whole surface from it (whatever was
    // drawn is gone), then raises Paint. Where a transparent backdrop leaves
    // white out, the surface stays see-through and the window shows.
    void setBackdrop(std::shared_ptr<Picture> backdrop);
    [[nodiscard]] Picture* backdrop() const { return backdrop_.get(); }
    [[nodiscard]] const std::shared_ptr<Picture>& backdropPicture() const { return backdrop_; }

    // Drawing on it shows on screen at once and stays until drawn over.
    [[nodiscard]] Graphics& graphics();

    void refreshRect(int x, int y, int w, int h, bool erase) override;

    // Handlers the window attaches; an event without one is not delivered.
    std::function<void()> onMouseEnter;
    std::function<void()> onMouseExit;
    std::function<void(int x, int y)> onMouseMove;
    // true claims the press: the drag and the release come to this control.
    std::function<bool(int x, int y)> onMouseDown;
    std::function<void(int x, int y)> onMouseDrag;
    std::function<void(int x, int y)> onMouseUp;
    std::function<void(Graphics& g)> onPaint;

    // The events as the framework raises them (x, y relative to the control).
    // A subclass that handles an event itself overrides these.
    virtual void MouseEnter();
    virtual void MouseExit();
    virtual void MouseMove(int x, int y);
    virtual bool MouseDown(int x, int y);
    virtual void MouseDrag(int x, int y);
    virtual void MouseUp(int x, int y);
    virtual void Paint(Graphics& g);

protected:
    void render() override;

private:
    std::shared_ptr<Picture> backdrop_;
};

} // namespace platform
