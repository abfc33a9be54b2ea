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
    detail::Surface& target = surface();
    if (erase) {
        const QRect area = QRect(x, y, w, h).intersected(target.rect());
        // An opaque backdrop that covers the area replaces every pixel anyway.
        const bool covered = backdrop_ != nullptr && detail::isOpaque(*backdrop_)
            && QRect(0, 0, backdrop_->width(), backdrop_->height()).contains(area);
        if (!covered) {
            target.clear(area);
        }
        if (backdrop_) {
            graphics().drawPicture(*backdrop_, x, y, w, h, x, y, w, h);
        }
        target.changed(area);
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
