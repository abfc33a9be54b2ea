// Inside the platform: the pixels behind a picture or a control, with the
// graphics settings that belong to them. Only platform sources include this.
#pragma once

#include "platform/graphics.h"

#include <QFont>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>

namespace platform {
class Picture;
}

namespace platform::detail {

// Default text size in pixels, used where a size of 0 is asked for.
inline constexpr int kDefaultTextSize = 13;
inline constexpr const char* kFontFamily = "DejaVu Sans";

class Surface {
public:
    // A surface of the size, filled with fill (premultiplied ARGB).
    Surface(int width, int height, QRgb fill);
    explicit Surface(QImage image);

    [[nodiscard]] Graphics& graphics() { return graphics_; }
    [[nodiscard]] int width() const { return image.width(); }
    [[nodiscard]] int height() const { return image.height(); }
    void resize(int width, int height, QRgb fill);

    // Every drawing operation reports the rectangle it touched.
    void changed(const QRect& area);
    // Text settings as a Qt font.
    [[nodiscard]] QFont font() const;

    QImage image; // Format_ARGB32_Premultiplied, device pixel ratio 1
    Color foreColor = 0x000000;
    bool bold = false;
    bool italic = false;
    int textSize = 0;
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
};

// The form of the picture that drawing composes: opacity from its mask and,
// when Transparent, none where it is pure white.
[[nodiscard]] const QImage& seeThrough(const Picture& picture);
// True when drawing the picture covers every pixel it touches.
[[nodiscard]] bool isOpaque(const Picture& picture);

} // namespace platform::detail
