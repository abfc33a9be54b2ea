// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/canvas.h"

#include "platform/picture.h"
#include "platform/surface.h"
#include "platform/widgets.h"

namespace platform {

Canvas::Canvas(Window& window, std::string name, std::int32_t index)
    : RectControl(window, std::move(name), index)
{
    widget().takePointer();
}

Canvas::~Canvas() = default;

void Canvas::setBackdrop(std::shared_ptr<Picture> backdrop)
{
    backdrop_ = std::move(backdrop);
    widget().setOpaque(backdrop_ != nullptr && detail::isOpaque(*backdrop_) && backdrop_->width() >= width()
        && backdrop_->height() >= height());
    refreshRect(0, 0, width(), height(), true);
}

Graphics& Canvas::graphics()
{
    return surface().graphics();
}

void Canvas::refreshRect(int x, int y, int w, int h, bool erase)
{
    if (erase) {
        // The backdrop drawn over the area. No canvas is drawn on where its
        // backdrop is see-through, and one without a backdrop paints all of
        // itself, so nothing old is left to clear first.
        if (backdrop_) {
            graphics().drawPicture(*backdrop_, x, y, w, h, x, y, w, h);
        }
        surface().changed(QRect(x, y, w, h).intersected(surface().rect()));
    }
    dispatch("Paint", [this] { Paint(graphics()); });
}

void Canvas::render()
{
    refreshRect(0, 0, width(), height(), true);
}

void Canvas::MouseEnter()
{
    if (onMouseEnter) {
        onMouseEnter();
    }
}

void Canvas::MouseExit()
{
    if (onMouseExit) {
        onMouseExit();
    }
}

void Canvas::MouseMove(int x, int y)
{
    if (onMouseMove) {
        onMouseMove(x, y);
    }
}

bool Canvas::MouseDown(int x, int y)
{
    return onMouseDown ? onMouseDown(x, y) : false;
}

void Canvas::MouseDrag(int x, int y)
{
    if (onMouseDrag) {
        onMouseDrag(x, y);
    }
}

void Canvas::MouseUp(int x, int y)
{
    if (onMouseUp) {
        onMouseUp(x, y);
    }
}

void Canvas::Paint(Graphics& g)
{
    if (onPaint) {
        onPaint(g);
    }
}

} // namespace platform
