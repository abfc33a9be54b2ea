#include "platform/surface.h"

#include "platform/picture.h"

namespace platform::detail {

Surface::Surface(int width, int height, QRgb fill)
    : image(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32_Premultiplied)
{
    image.fill(fill);
    opaque = qAlpha(fill) == 255;
}

Surface::Surface(QImage source)
    : image(source.convertToFormat(QImage::Format_ARGB32_Premultiplied))
{
    image.setDevicePixelRatio(1.0);
    opaque = !source.hasAlphaChannel() || [&] {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(line[x]) != 255) {
                    return false;
                }
            }
        }
        return true;
    }();
}

void Surface::resize(int width, int height, QRgb fill)
{
    image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    opaque = qAlpha(fill) == 255;
    changed(image.rect());
}

void Surface::changed(const QRect& area)
{
    ++version;
    if (onChanged) {
        onChanged(area.intersected(image.rect()));
    }
}

QFont Surface::font() const
{
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(textSize > 0 ? textSize : kDefaultTextSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

const QImage& seeThrough(const Picture& picture)
{
    const Surface& surface = picture.surface();
    auto& cache = const_cast<Surface&>(surface);
    const Picture* mask = picture.maskIfAny();
    const std::uint64_t maskVersion = mask != nullptr ? mask->surface().version : 0;
    const int mode = picture.transparent();
    if (mask == nullptr && mode == 0) {
        return surface.image;
    }
    if (cache.seeThroughVersion == surface.version && cache.seeThroughMaskVersion == maskVersion
        && cache.seeThroughMode == mode) {
        return cache.seeThrough;
    }
    QImage out(surface.image.size(), QImage::Format_ARGB32_Premultiplied);
    const QImage& maskImage = mask != nullptr ? mask->surface().image : surface.image;
    for (int y = 0; y < out.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(surface.image.constScanLine(y));
        const auto* grey
            = reinterpret_cast<const QRgb*>(maskImage.constScanLine(std::min(y, maskImage.height() - 1)));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb colour = qUnpremultiply(src[x]);
            int alpha = qAlpha(colour);
            if (mode == 1 && (colour & 0xFFFFFF) == 0xFFFFFF) {
                alpha = 0;
            }
            if (mask != nullptr && x < maskImage.width()) {
                // Black is opaque, white invisible, grey in between.
                alpha = alpha * (255 - qGray(qUnpremultiply(grey[x]))) / 255;
            }
            dst[x] = qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha));
        }
    }
    cache.seeThrough = std::move(out);
    cache.seeThroughVersion = surface.version;
    cache.seeThroughMaskVersion = maskVersion;
    cache.seeThroughMode = mode;
    return cache.seeThrough;
}

bool isOpaque(const Picture& picture)
{
    return picture.maskIfAny() == nullptr && picture.transparent() == 0 && picture.surface().opaque;
}

} // namespace platform::detail
