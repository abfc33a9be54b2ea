// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/control.h"

#include "platform/frame_pacer.h"
#include "platform/surface.h"
#include "platform/widgets.h"
#include "platform/window.h"

namespace platform {

Control::Control(Window& window, std::string name, std::int32_t index)
    : window_(window)
    , name_(std::move(name))
    , index_(index)
{
}

Control::~Control() = default;

RectControl::RectControl(Window& window, std::string name, std::int32_t index)
    : Control(window, std::move(name), index)
    , surface_(std::make_unique<detail::Surface>(0, 0, 0u))
    , widget_(new detail::ControlWidget(*this, &window.widget()))
{
    surface_->onChanged = [this](const QRect& area) {
        if (!area.isEmpty()) {
            detail::FramePacer::instance().schedule(widget_, area);
        }
    };
    widget_->show();
}

RectControl::~RectControl()
{
    surface_->onChanged = nullptr;
    delete widget_;
}

void RectControl::setBounds(int left, int top, int width, int height)
{
    widget_->setGeometry(left, top, width, height);
    if (!keepsPixels()) {
        lookChanged();
        return;
    }
    if (width != surface_->width() || height != surface_->height()) {
        surface_->resize(width, height, 0u);
        lookStale_ = true;
        // A window not yet shown draws every control as it opens; drawing
        // them as they are made too would be work nobody sees.
        if (window().isVisible()) {
            render();
        }
    }
}

void RectControl::lookChanged()
{
    lookStale_ = true;
    detail::FramePacer::instance().schedule(widget_, QRect(0, 0, width(), height()));
}

void RectControl::drawStaleLook() const
{
    lookStale_ = false;
    const_cast<RectControl*>(this)->drawLook();
}

int RectControl::left() const
{
    return widget_->x();
}
int RectControl::top() const
{
    return widget_->y();
}
int RectControl::width() const
{
    return widget_->width();
}
int RectControl::height() const
{
    return widget_->height();
}

void RectControl::setVisible(bool visible)
{
    widget_->setVisible(visible);
}
bool RectControl::visible() const
{
    return !widget_->isHidden();
}

void RectControl::refresh(bool erase)
{
    refreshRect(0, 0, width(), height(), erase);
}

void RectControl::refreshRect(int x, int y, int w, int h, bool /*erase*/)
{
    render();
    detail::FramePacer::instance().schedule(widget_, QRect(x, y, w, h));
}

Color RectControl::pixel(int x, int y) const
{
    if (!surface().rect().contains(x, y)) {
        return 0;
    }
    return surface().pixel(x, y) & 0xFFFFFFu;
}

int RectControl::alpha(int x, int y) const
{
    if (!surface().rect().contains(x, y)) {
        return 0;
    }
    return qAlpha(surface().pixel(x, y));
}

} // namespace platform
