// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Inside the platform: the pixels behind a picture or a control, with the
// graphics settings that belong to them. Only platform sources include this.
#pragma once

#include "platform/graphics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRect>
#include <QStaticText>

#include <cstdint>
#include <functional>

namespace platform {
class Picture;
}

namespace platform::detail {

// Device pixels per pixel of the game for every surface made from now on:
// 1, or 2 on a screen of twice the density, where pictures and text keep
// their full detail. The runtime sets it from the screen before the window
// is built; the game's coordinates stay the same at either scale.
[[nodiscard]] int surfaceScale();
void setSurfaceScale(int scale);
// The surface scale for a screen's device pixel ratio.
[[nodiscard]] int surfaceScaleFor(double devicePixelRatio);

// Default text size in pixels, used where a size of 0 is asked for.
inline constexpr int kDefaultTextSize = 13;
inline constexpr const char* kFontFamily = "DejaVu Sans";

class Surface {
public:
    // A surface of the size (in the game's pixels) at the current surface
    // scale, filled with fill (premultiplied ARGB).
    Surface(int width, int height, QRgb fill);
    // A surface holding the image, which has `scale` device pixels to each
    // pixel of the game.
    Surface(QImage image, int scale);
    // A surface around premultiplied pixels whose opacity is known already
    // (the embedded art): neither converted nor scanned.
    Surface(QImage premultiplied, int scale, bool opaque);

    [[nodiscard]] Graphics& graphics() { return graphics_; }
    // The size in the game's pixels; the image is scale times as large.
    [[nodiscard]] int width() const { return image.width() / scale; }
    [[nodiscard]] int height() const { return image.height() / scale; }
    [[nodiscard]] QRect rect() const { return QRect(0, 0, width(), height()); }
    // The device pixels that a rectangle of the game's pixels covers.
    [[nodiscard]] QRect deviceRect(const QRect& area) const;
    // The colour of the game's pixel (x, y): its top-left device pixel.
    [[nodiscard]] QRgb pixel(int x, int y) const { return image.pixel(x * scale, y * scale); }
    void resize(int width, int height, QRgb fill);

    // Every drawing operation reports the rectangle it touched.
    void changed(const QRect& area);
    // Text settings as a Qt font, and its metrics; both made again only
    // after a setting changed.
    [[nodiscard]] const QFont& font();
    [[nodiscard]] const QFontMetricsF& metrics();
    // Whole pixels from the top of one line to the next.
    [[nodiscard]] int lineHeight();
    // The laid-out text, kept while the same text is drawn in the same font
    // (a caption and its halo are the same text seven times).
    [[nodiscard]] const QStaticText& layout(const QString& text);
    // The text's advance width in the current font, kept like the layout:
    // a button measures its caption at every drawing.
    [[nodiscard]] double textWidth(const QString& text);

    int scale = surfaceScale();
    QImage image; // Format_ARGB32_Premultiplied, device pixel ratio = scale
    Color foreColor = 0x000000;
    bool bold = false;
    bool italic = false;
    int textSize = 0;
    bool fontStale = true; // set when bold, italic or textSize change
    bool opaque = true; // every pixel has full opacity
    std::uint64_t version = 1; // grows with every change
    std::function<void(const QRect&)> onChanged;

    // The see-through form of a picture, rebuilt only after it changed.
    QImage seeThrough;
    std::uint64_t seeThroughVersion = 0;
    std::uint64_t seeThroughMaskVersion = 0;
    int seeThroughMode = -1;
    bool seeThroughIsImage = false; // the picture's own pixels serve as they are

private:
    Graphics graphics_ { *this };
    QFont font_;
    QFontMetricsF metrics_ { QFont() };
    int lineHeight_ = 0;
    QStaticText layout_;
    bool layoutStale_ = true;
    QString measuredText_;
    double measuredWidth_ = 0;
    bool measureStale_ = true;
};

// The form of the picture that drawing composes: opacity from its mask and,
// when Transparent, none where it is pure white.
[[nodiscard]] const QImage& seeThrough(const Picture& picture);
// True when drawing the picture covers every pixel it touches.
[[nodiscard]] bool isOpaque(const Picture& picture);

} // namespace platform::detail
