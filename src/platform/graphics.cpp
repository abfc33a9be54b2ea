// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/graphics.h"

#include "platform/picture.h"
#include "platform/surface.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

QRgb opaque(Color color)
{
    return 0xFF000000u | (color & 0xFFFFFFu);
}

// Fills the part of the span [x0, x1) on row y that lies inside the surface.
// Coordinates are the game's pixels: each one fills all its device pixels,
// so shapes stay exact to the pixel at every scale.
void fillSpan(detail::Surface& surface, int y, int x0, int x1, QRgb colour)
{
    if (y < 0 || y >= surface.height()) {
        return;
    }
    const int scale = surface.scale;
    x0 = std::max(x0, 0) * scale;
    x1 = std::min(x1, surface.width()) * scale;
    for (int row = y * scale; row < (y + 1) * scale; ++row) {
        auto* line = reinterpret_cast<QRgb*>(surface.image.scanLine(row));
        for (int x = x0; x < x1; ++x) {
            line[x] = colour;
        }
    }
}

// The columns [first, last] of row j (0..h-1) that lie inside a w x h
// rectangle whose corners are quarter ellipses rx wide and ry high. A pixel
// belongs to the shape when its centre does.
struct Span {
    int first;
    int last;
};

Span roundRectSpan(int w, int h, int arcW, int arcH, int j)
{
    const double rx = std::min<double>(std::max(arcW, 0), w / 2.0);
    const double ry = std::min<double>(std::max(arcH, 0), h / 2.0);
    double inset = 0.0;
    if (rx > 0.0 && ry > 0.0) {
        const double yc = j + 0.5;
        double dy = 0.0;
        if (yc < ry) {
            dy = ry - yc;
        } else if (yc > h - ry) {
            dy = yc - (h - ry);
        }
        if (dy > 0.0) {
            const double t = dy / ry;
            inset = rx - rx * std::sqrt(std::max(0.0, 1.0 - t * t));
        }
    }
    // Centre x + 0.5 must be at least inset from either side.
    const int first = static_cast<int>(std::ceil(inset - 0.5));
    const int last = static_cast<int>(std::floor(w - 0.5 - inset));
    return { first, last };
}

// The source rectangle of the picture scaled into the target rectangle.
void drawScaled(detail::Surface& target, const Picture& picture, const QRect& to, const QRect& from)
{
    const QImage& source = detail::seeThrough(picture);
    if (target.image.isNull() || source.isNull()) {
        return;
    }
    // The painter takes the target in the game's pixels (the surface's
    // device pixel ratio does the rest); the source is in the picture's own
    // device pixels.
    QPainter painter(&target.image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(to, source, picture.surface().deviceRect(from));
    painter.end();
    target.changed(to);
}

} // namespace

void Graphics::setForeColor(Color color)
{
    surface_.foreColor = color & 0xFFFFFFu;
}
Color Graphics::foreColor() const
{
    return surface_.foreColor;
}
void Graphics::setBold(bool bold)
{
    surface_.fontStale |= surface_.bold != bold;
    surface_.bold = bold;
}
void Graphics::setItalic(bool italic)
{
    surface_.fontStale |= surface_.italic != italic;
    surface_.italic = italic;
}
void Graphics::setTextSize(int size)
{
    size = std::max(size, 0);
    surface_.fontStale |= surface_.textSize != size;
    surface_.textSize = size;
}
bool Graphics::bold() const
{
    return surface_.bold;
}
bool Graphics::italic() const
{
    return surface_.italic;
}
int Graphics::textSize() const
{
    return surface_.textSize;
}
int Graphics::width() const
{
    return surface_.width();
}
int Graphics::height() const
{
    return surface_.height();
}

int Graphics::textHeight() const
{
    return surface_.lineHeight();
}

double Graphics::stringWidth(std::string_view text) const
{
    return surface_.textWidth(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void Graphics::drawLine(int x1, int y1, int x2, int y2)
{
    // Bresenham: one pixel per step, both ends included.
    const QRgb colour = opaque(surface_.foreColor);
    const int dx = std::abs(x2 - x1);
    const int dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1;
    const int sy = y1 < y2 ? 1 : -1;
    int error = dx + dy;
    int x = x1;
    int y = y1;
    for (;;) {
        fillSpan(surface_, y, x, x + 1, colour);
        if (x == x2 && y == y2) {
            break;
        }
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
    surface_.changed(
        QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))));
}

void Graphics::fillRect(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0) {
        return;
    }
    const QRgb colour = opaque(surface_.foreColor);
    for (int row = std::max(y, 0); row < std::min(y + h, surface_.height()); ++row) {
        fillSpan(surface_, row, x, x + w, colour);
    }
    surface_.changed(QRect(x, y, w, h));
}

void Graphics::drawRect(int x, int y, int w, int h)
{
    drawRoundRect(x, y, w, h, 0, 0);
}

void Graphics::fillRoundRect(int x, int y, int w, int h, int arcW, int arcH)
{
    if (w <= 0 || h <= 0) {
        return;
    }
    const QRgb colour = opaque(surface_.foreColor);
    for (int j = std::max(0, -y); j < h && y + j < surface_.height(); ++j) {
        const Span span = roundRectSpan(w, h, arcW, arcH, j);
        fillSpan(surface_, y + j, x + span.first, x + span.last + 1, colour);
    }
    surface_.changed(QRect(x, y, w, h));
}

void Graphics::drawRoundRect(int x, int y, int w, int h, int arcW, int arcH)
{
    if (w <= 0 || h <= 0) {
        return;
    }
    // The outline is every pixel of the filled shape with a neighbour (left,
    // right, above, below) outside it: one pixel wide, inside the rectangle.
    const QRgb colour = opaque(surface_.foreColor);
    auto spanOf = [&](int j) { return j < 0 || j >= h ? Span { 1, 0 } : roundRectSpan(w, h, arcW, arcH, j); };
    for (int j = std::max(0, -y - 1); j < h && y + j < surface_.height(); ++j) {
        const Span here = spanOf(j);
        const Span above = spanOf(j - 1);
        const Span below = spanOf(j + 1);
        for (int i = here.first; i <= here.last; ++i) {
            const bool edge = i == here.first || i == here.last || i < above.first || i > above.last
                || i < below.first || i > below.last;
            if (edge) {
                fillSpan(surface_, y + j, x + i, x + i + 1, colour);
            }
        }
    }
    surface_.changed(QRect(x, y, w, h));
}

void Graphics::drawString(std::string_view text, int x, int y)
{
    if (text.empty() || surface_.image.isNull()) {
        return;
    }
    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QStaticText& laidOut = surface_.layout(string);
    const QFontMetricsF& metrics = surface_.metrics();
    QPainter painter(&surface_.image);
    painter.setFont(surface_.font());
    painter.setPen(QColor::fromRgb(opaque(surface_.foreColor)));
    // A static text is placed by its top: the baseline lies one ascent below.
    painter.drawStaticText(QPointF(x, y - metrics.ascent()), laidOut);
    painter.end();
    const QRectF bounds(x, y - metrics.ascent(), laidOut.size().width(), metrics.height());
    surface_.changed(bounds.toAlignedRect().adjusted(-2, -2, 2, 2));
}

void Graphics::drawPicture(const Picture& picture, int x, int y)
{
    const int scale = surface_.scale;
    if (picture.surface().scale != scale) {
        // Art of another density: Qt scales it (only a picture missing its
        // art for this screen comes here).
        drawScaled(
            surface_, picture, QRect(x, y, picture.width(), picture.height()), picture.surface().rect());
        return;
    }
    if (x == 0 && y == 0 && detail::isOpaque(picture) && &picture.surface() != &surface_
        && picture.surface().image.size() == surface_.image.size()) {
        // The whole surface covered by an opaque picture of its size: share
        // its pixels (copied only when either is drawn on later). A board's
        // clean background is such a copy that nothing ever draws on.
        surface_.image = picture.surface().image;
        surface_.opaque = true;
        surface_.changed(surface_.rect());
        return;
    }
    // From here on in device pixels, clipped in 64 bits: a figure far off
    // the board must not wrap around onto it.
    const QImage& source = detail::seeThrough(picture);
    QImage& target = surface_.image;
    const std::int64_t left = std::int64_t(x) * scale;
    const std::int64_t top = std::int64_t(y) * scale;
    if (left >= target.width() || top >= target.height() || left + source.width() <= 0
        || top + source.height() <= 0) {
        return;
    }
    const int x0 = int(std::max<std::int64_t>(left, 0));
    const int y0 = int(std::max<std::int64_t>(top, 0));
    const int x1 = int(std::min<std::int64_t>(left + source.width(), target.width()));
    const int y1 = int(std::min<std::int64_t>(top + source.height(), target.height()));
    const bool copy = detail::isOpaque(picture) && &picture.surface() != &surface_;
    for (int row = y0; row < y1; ++row) {
        const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(int(row - top))) + (x0 - left);
        auto* dst = reinterpret_cast<QRgb*>(target.scanLine(row)) + x0;
        const int count = x1 - x0;
        if (copy) {
            std::copy(src, src + count, dst);
            continue;
        }
        for (int i = 0; i < count; ++i) {
            // Source over, premultiplied.
            const QRgb s = src[i];
            const int alpha = qAlpha(s);
            if (alpha == 255) {
                dst[i] = s;
            } else if (alpha != 0) {
                const QRgb d = dst[i];
                const int keep = 255 - alpha;
                // Rounded, so that a colour blended over itself stays that colour.
                auto part = [keep](int channel) { return (channel * keep + 127) / 255; };
                dst[i] = qRgba(qRed(s) + part(qRed(d)), qGreen(s) + part(qGreen(d)),
                    qBlue(s) + part(qBlue(d)), alpha + part(qAlpha(d)));
            }
        }
    }
    surface_.changed(QRect(x, y, picture.width(), picture.height()));
}

void Graphics::drawPicture(const Picture& picture, int x, int y, int w, int h, int sx, int sy, int sw, int sh)
{
    if (w == kOwnSize) {
        w = picture.width();
    }
    if (h == kOwnSize) {
        h = picture.height();
    }
    if (sw == kOwnSize) {
        sw = picture.width();
    }
    if (sh == kOwnSize) {
        sh = picture.height();
    }
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    if (w == sw && h == sh && sx == 0 && sy == 0 && sw == picture.width() && sh == picture.height()) {
        drawPicture(picture, x, y);
        return;
    }
    const QImage& source = detail::seeThrough(picture);
    if (surface_.image.isNull() || source.isNull()) {
        return;
    }
    const int scale = surface_.scale;
    if (w == sw && h == sh && detail::isOpaque(picture) && &picture.surface() != &surface_
        && picture.surface().scale == scale) {
        // An unscaled opaque part: a plain copy, as the board's erasing needs.
        // Clipped in the game's pixels (a figure far off the board must not
        // overflow as device pixels), then copied device pixel by pixel.
        QImage& target = surface_.image;
        const int x0 = std::max({ x, 0, x - sx });
        const int y0 = std::max({ y, 0, y - sy });
        const int x1 = std::min({ x + w, surface_.width(), x - sx + picture.width() });
        const int y1 = std::min({ y + h, surface_.height(), y - sy + picture.height() });
        const int count = std::max(0, x1 - x0) * scale;
        for (int row = y0 * scale; row < y1 * scale; ++row) {
            const auto* src = reinterpret_cast<const QRgb*>(source.constScanLine(row - (y - sy) * scale))
                + (x0 - x + sx) * scale;
            std::copy(src, src + count, reinterpret_cast<QRgb*>(target.scanLine(row)) + x0 * scale);
        }
        surface_.changed(QRect(x, y, w, h));
        return;
    }
    drawScaled(surface_, picture, QRect(x, y, w, h), QRect(sx, sy, sw, sh));
}

} // namespace platform
