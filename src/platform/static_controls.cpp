// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/static_controls.h"

#include "platform/surface.h"
#include "platform/widgets.h"

#include <QPainter>

#include <algorithm>

namespace platform {

namespace {

QColor rgb(Color color)
{
    return QColor::fromRgb(0xFF000000u | color);
}

QFont fontOfSize(int size)
{
    QFont font(QString::fromLatin1(detail::kFontFamily));
    font.setPixelSize(size > 0 ? size : detail::kDefaultTextSize);
    return font;
}

} // namespace

StaticText::StaticText(Window& window, std::string name, std::int32_t index)
    : RectControl(window, std::move(name), index)
{
}

void StaticText::setText(std::string text)
{
    text_ = std::move(text);
    lookChanged();
}

void StaticText::setTextAlign(Align align)
{
    align_ = align;
    lookChanged();
}

void StaticText::setTextColor(Color color)
{
    color_ = color;
    lookChanged();
}

void StaticText::setTextSize(int size)
{
    size_ = size;
    lookChanged();
}

void StaticText::drawLook()
{
    detail::Surface& target = surface();
    target.image.fill(0u);
    target.opaque = false;
    if (target.image.isNull()) {
        return;
    }
    QPainter painter(&target.image);
    painter.setFont(fontOfSize(size_));
    painter.setPen(rgb(color_));
    Qt::Alignment alignment = Qt::AlignTop;
    alignment |= align_ == Align::Centre ? Qt::AlignHCenter
        : align_ == Align::Right         ? Qt::AlignRight
                                         : Qt::AlignLeft;
    painter.drawText(target.rect(), static_cast<int>(alignment), QString::fromStdString(text_));
    painter.end();
    target.opaque = false;
}

GroupBox::GroupBox(Window& window, std::string name, std::int32_t index)
    : RectControl(window, std::move(name), index)
{
}

void GroupBox::setCaption(std::string caption)
{
    caption_ = std::move(caption);
    lookChanged();
}

void GroupBox::setTextSize(int size)
{
    size_ = size;
    lookChanged();
}

void GroupBox::drawLook()
{
    // An etched frame: a dark line with a light line inside it, below the
    // caption's middle.
    detail::Surface& target = surface();
    target.image.fill(0u);
    const int w = target.width();
    const int h = target.height();
    if (w < 4 || h < 4) {
        return;
    }
    QPainter painter(&target.image);
    const QFont font = fontOfSize(size_);
    const int top = caption_.empty() ? 1 : QFontMetrics(font).height() / 2;
    painter.setPen(QColor(0x66, 0x33, 0x00, 200));
    painter.drawRoundedRect(QRectF(0.5, top + 0.5, w - 2, h - top - 2), 4, 4);
    painter.setPen(QColor(0xFF, 0xE6, 0xCC, 160));
    painter.drawRoundedRect(QRectF(1.5, top + 1.5, w - 2, h - top - 2), 4, 4);
    if (!caption_.empty()) {
        painter.setFont(font);
        painter.setPen(rgb(0x432100));
        painter.drawText(QPoint(10, QFontMetrics(font).ascent()), QString::fromStdString(caption_));
    }
    painter.end();
    target.opaque = false;
}

Rectangle::Rectangle(Window& window, std::string name, std::int32_t index)
    : RectControl(window, std::move(name), index)
{
    widget().setOpaque(true); // it fills every pixel
}

void Rectangle::setFillColor(Color color)
{
    fill_ = color;
    lookChanged();
}

void Rectangle::setBorderWidth(int width)
{
    border_ = width;
    lookChanged();
}

void Rectangle::setTopLeftColor(Color color)
{
    topLeft_ = color;
    lookChanged();
}

void Rectangle::setBottomRightColor(Color color)
{
    bottomRight_ = color;
    lookChanged();
}

Color Rectangle::colourAt(int x, int y) const
{
    // The top and left border in one colour and the bottom and right border
    // in the other, meeting on the diagonals of the corners.
    const int fromRight = width() - 1 - x;
    const int fromBottom = height() - 1 - y;
    if (y < border_ && y <= fromRight && y < fromBottom) {
        return topLeft_;
    }
    if (x < border_ && x <= fromBottom && x < fromRight) {
        return topLeft_;
    }
    if (fromBottom < border_ || fromRight < border_) {
        return bottomRight_;
    }
    return fill_;
}

Color Rectangle::pixel(int x, int y) const
{
    return QRect(0, 0, width(), height()).contains(x, y) ? colourAt(x, y) : 0;
}

int Rectangle::alpha(int x, int y) const
{
    return QRect(0, 0, width(), height()).contains(x, y) ? 255 : 0;
}

void Rectangle::drawOnScreen(detail::ScreenArea& screen) const
{
    // The fill in one go, then the border's pixels, one run of a colour at a
    // time along each row. In the game's pixels: the painter covers all the
    // device pixels of each.
    const int w = width();
    const int h = height();
    const QRect area = screen.area.intersected(QRect(0, 0, w, h));
    if (area.isEmpty()) {
        return;
    }
    QPainter& painter = screen.painter;
    painter.fillRect(area, rgb(fill_));
    const auto runs = [&](int y, int from, int to) {
        from = std::max(from, area.left());
        to = std::min(to, area.right() + 1);
        for (int x = from; x < to;) {
            const Color colour = colourAt(x, y);
            int end = x + 1;
            while (end < to && colourAt(end, y) == colour) {
                ++end;
            }
            if (colour != fill_) {
                painter.fillRect(QRect(x, y, end - x, 1), rgb(colour));
            }
            x = end;
        }
    };
    const int band = std::max(border_, 0);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        if (y < band || y >= h - band) {
            runs(y, 0, w);
            continue;
        }
        runs(y, 0, std::min(band, w));
        runs(y, std::max(w - band, band), w);
    }
}

} // namespace platform
