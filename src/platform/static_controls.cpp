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

void Rectangle::drawLook()
{
    // The fill, the top and left border in one colour and the bottom and
    // right border in the other, meeting on the diagonals of the corners.
    // Only the border's pixels are looked at one by one.
    detail::Surface& target = surface();
    const int w = target.width();
    const int h = target.height();
    target.image.fill(0xFF000000u | fill_);
    const QRgb light = 0xFF000000u | topLeft_;
    const QRgb dark = 0xFF000000u | bottomRight_;
    const auto edge = [&](int x, int y) {
        const int fromLeft = x;
        const int fromTop = y;
        const int fromRight = w - 1 - x;
        const int fromBottom = h - 1 - y;
        QRgb colour = 0;
        if (fromTop < border_ && fromTop <= fromRight && fromTop < fromBottom) {
            colour = light;
        } else if (fromLeft < border_ && fromLeft <= fromBottom && fromLeft < fromRight) {
            colour = light;
        } else if (fromBottom < border_ || fromRight < border_) {
            colour = dark;
        } else {
            return;
        }
        // Decided for each pixel of the game, filled into all its device pixels.
        for (int row = y * target.scale; row < (y + 1) * target.scale; ++row) {
            auto* line = reinterpret_cast<QRgb*>(target.image.scanLine(row)) + x * target.scale;
            std::fill(line, line + target.scale, colour);
        }
    };
    const int band = std::max(border_, 0);
    for (int y = 0; y < h; ++y) {
        if (y < band || y >= h - band) {
            for (int x = 0; x < w; ++x) {
                edge(x, y);
            }
            continue;
        }
        for (int x = 0; x < std::min(band, w); ++x) {
            edge(x, y);
        }
        for (int x = std::max(w - band, band); x < w; ++x) {
            edge(x, y);
        }
    }
    target.opaque = true;
}

} // namespace platform
