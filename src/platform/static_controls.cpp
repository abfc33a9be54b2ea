#include "platform/static_controls.h"

#include "platform/surface.h"
#include "platform/widgets.h"

#include <QPainter>

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
    render();
}

void StaticText::setTextAlign(Align align)
{
    align_ = align;
    render();
}

void StaticText::setTextColor(Color color)
{
    color_ = color;
    render();
}

void StaticText::setTextSize(int size)
{
    size_ = size;
    render();
}

void StaticText::render()
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
    target.changed(target.rect());
}

GroupBox::GroupBox(Window& window, std::string name, std::int32_t index)
    : RectControl(window, std::move(name), index)
{
}

void GroupBox::setCaption(std::string caption)
{
    caption_ = std::move(caption);
    render();
}

void GroupBox::setTextSize(int size)
{
    size_ = size;
    render();
}

void GroupBox::render()
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
    target.changed(target.rect());
}

Rectangle::Rectangle(Window& window, std::string name, std::int32_t index)
    : RectControl(window, std::move(name), index)
{
}

void Rectangle::setFillColor(Color color)
{
    fill_ = color;
    render();
}

void Rectangle::setBorderWidth(int width)
{
    border_ = width;
    render();
}

void Rectangle::setTopLeftColor(Color color)
{
    topLeft_ = color;
    render();
}

void Rectangle::setBottomRightColor(Color color)
{
    bottomRight_ = color;
    render();
}

void Rectangle::render()
{
    // The fill, the top and left border in one colour and the bottom and
    // right border in the other, meeting on the diagonals of the corners.
    detail::Surface& target = surface();
    const int w = target.width();
    const int h = target.height();
    target.image.fill(0xFF000000u | fill_);
    const QRgb light = 0xFF000000u | topLeft_;
    const QRgb dark = 0xFF000000u | bottomRight_;
    // Decided for each pixel of the game, filled into all its device pixels.
    for (int row = 0; row < target.image.height(); ++row) {
        const int y = row / target.scale;
        auto* line = reinterpret_cast<QRgb*>(target.image.scanLine(row));
        for (int column = 0; column < target.image.width(); ++column) {
            const int x = column / target.scale;
            const int fromLeft = x;
            const int fromTop = y;
            const int fromRight = w - 1 - x;
            const int fromBottom = h - 1 - y;
            if (fromTop < border_ && fromTop <= fromRight && fromTop < fromBottom + 0) {
                line[column] = light;
            } else if (fromLeft < border_ && fromLeft <= fromBottom && fromLeft < fromRight) {
                line[column] = light;
            } else if (fromBottom < border_ || fromRight < border_) {
                line[column] = dark;
            }
        }
    }
    target.opaque = true;
    widget().setOpaque(true);
    target.changed(target.rect());
}

} // namespace platform
