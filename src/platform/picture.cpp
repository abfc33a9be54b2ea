// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/picture.h"

#include "platform/surface.h"

namespace platform {

Picture::Picture(int width, int height)
    : surface_(std::make_unique<detail::Surface>(width, height, 0xFFFFFFFFu))
{
}

Picture::Picture(std::unique_ptr<detail::Surface> surface)
    : surface_(std::move(surface))
{
}

Picture::~Picture() = default;

std::unique_ptr<Picture> Picture::NewPicture(int width, int height, int /*depth*/)
{
    return std::make_unique<Picture>(width, height);
}

int Picture::width() const
{
    return surface_->width();
}
int Picture::height() const
{
    return surface_->height();
}
Graphics& Picture::graphics()
{
    return surface_->graphics();
}

Picture& Picture::mask()
{
    if (!mask_) {
        mask_ = std::make_unique<Picture>(width(), height());
    }
    return *mask_;
}

void Picture::setTransparent(int mode)
{
    transparent_ = mode == 1 ? 1 : 0;
}
int Picture::transparent() const
{
    return transparent_;
}

Color Picture::pixel(int x, int y) const
{
    if (!surface_->rect().contains(x, y)) {
        return 0;
    }
    return qUnpremultiply(surface_->pixel(x, y)) & 0xFFFFFFu;
}

} // namespace platform
