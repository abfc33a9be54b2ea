// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Immediate drawing onto a surface (a picture or a canvas).
//
// Edge rules the game relies on:
//  - Shapes are never antialiased and are exact to the pixel.
//  - drawRect / drawRoundRect are one-pixel outlines lying inside the rectangle:
//    its rightmost column is x + w - 1 and its bottom row y + h - 1.
//  - fillRoundRect / drawRoundRect corners are quarter ellipses arcW wide and
//    arcH high; with arcs of 0 they are plain rectangles.
//  - drawString puts the left end of the text at x and its baseline at y.
//  - The settings (colour, bold, italic, text size) belong to the surface and
//    persist between uses of its graphics.
#pragma once

#include "platform/globals.h"

#include <string_view>

namespace platform {

class Picture;
namespace detail {
class Surface;
}

// Passed as a size to drawPicture: use the picture's own width or height.
inline constexpr int kOwnSize = -10000;

class Graphics {
public:
    explicit Graphics(detail::Surface& surface)
        : surface_(surface)
    {
    }
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    void setForeColor(Color color);
    [[nodiscard]] Color foreColor() const;
    void setBold(bool bold);
    void setItalic(bool italic);
    // Text size in pixels; 0 selects the default size.
    void setTextSize(int size);
    [[nodiscard]] bool bold() const;
    [[nodiscard]] bool italic() const;
    [[nodiscard]] int textSize() const;

    // Line height of the current text style, in pixels.
    [[nodiscard]] int textHeight() const;
    [[nodiscard]] double stringWidth(std::string_view text) const;

    [[nodiscard]] int width() const;
    [[nodiscard]] int height() const;

    void drawLine(int x1, int y1, int x2, int y2);
    void drawRect(int x, int y, int w, int h);
    void fillRect(int x, int y, int w, int h);
    void drawRoundRect(int x, int y, int w, int h, int arcW, int arcH);
    void fillRoundRect(int x, int y, int w, int h, int arcW, int arcH);
    void drawString(std::string_view text, int x, int y);

    // The whole picture at its own size, through its mask and, when the
    // picture is Transparent, leaving its pure white pixels out.
    void drawPicture(const Picture& picture, int x, int y);
    // The source rectangle (sx, sy, sw, sh) of the picture scaled into w x h at
    // (x, y). kOwnSize for w, h, sw or sh means the picture's own width/height.
    void drawPicture(const Picture& picture, int x, int y, int w, int h, int sx, int sy, int sw, int sh);

private:
    detail::Surface& surface_;
};

} // namespace platform
