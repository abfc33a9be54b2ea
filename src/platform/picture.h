// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// An off-screen 32-bit picture with its own graphics, a greyscale mask and a
// transparency mode.
#pragma once

#include "platform/globals.h"
#include "platform/graphics.h"

#include <memory>

namespace platform {

namespace detail {
class Surface;
}

class Picture {
public:
    // A new picture, filled with opaque white.
    Picture(int width, int height);
    ~Picture();
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    // The framework's NewPicture(w, h, depth); every depth gives 32 bits.
    [[nodiscard]] static std::unique_ptr<Picture> NewPicture(int width, int height, int depth = 32);

    [[nodiscard]] int width() const;
    [[nodiscard]] int height() const;
    [[nodiscard]] Graphics& graphics();

    // The greyscale mask, made on first use as a new picture (white), to be
    // drawn whole by its user. When the picture is drawn, each pixel's opacity
    // follows its mask pixel: black opaque, white invisible, grey
    // proportionally in between.
    [[nodiscard]] Picture& mask();
    [[nodiscard]] bool hasMask() const { return mask_ != nullptr; }
    [[nodiscard]] const Picture* maskIfAny() const { return mask_.get(); }

    // 1: pure white (0xFFFFFF) pixels are not drawn. 0: drawn opaque.
    void setTransparent(int mode);
    [[nodiscard]] int transparent() const;

    // The colour at (x, y), 0xRRGGBB; tests read pictures through it.
    [[nodiscard]] Color pixel(int x, int y) const;

    [[nodiscard]] detail::Surface& surface() { return *surface_; }
    [[nodiscard]] const detail::Surface& surface() const { return *surface_; }

    // A picture holding the surface (the platform makes resource pictures so).
    explicit Picture(std::unique_ptr<detail::Surface> surface);

private:
    std::unique_ptr<detail::Surface> surface_;
    std::unique_ptr<Picture> mask_;
    int transparent_ = 0;
};

} // namespace platform
