#include "platform/surface.h"

#include "platform/picture.h"

#include <QFontMetrics>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace platform::detail {

namespace {
int currentScale = 1;
}

int surfaceScale()
{
    return currentScale;
}

void setSurfaceScale(int scale)
{
    currentScale = scale == 2 ? 2 : 1;
}

int surfaceScaleFor(double devicePixelRatio)
{
    // From 1.5 on the art made for twice the density, scaled down a little
    // by Qt, shows more of its detail than the plain art scaled up.
    return devicePixelRatio >= 1.5 ? 2 : 1;
}

Surface::Surface(int width, int height, QRgb fill)
    : image(std::max(width, 0) * scale, std::max(height, 0) * scale, QImage::Format_ARGB32_Premultiplied)
{
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    opaque = qAlpha(fill) == 255;
}

Surface::Surface(QImage source, int sourceScale)
    : scale(sourceScale)
    , image(source.convertToFormat(QImage::Format_ARGB32_Premultiplied))
{
    image.setDevicePixelRatio(scale);
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
    image = QImage(
        std::max(width, 0) * scale, std::max(height, 0) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(fill);
    opaque = qAlpha(fill) == 255;
    changed(rect());
}

QRect Surface::deviceRect(const QRect& area) const
{
    // Saturated: a rectangle far outside must not wrap around into view.
    auto device = [this](int v) {
        return int(std::clamp<std::int64_t>(std::int64_t(v) * scale, INT32_MIN, INT32_MAX));
    };
    return QRect(device(area.x()), device(area.y()), device(area.width()), device(area.height()));
}

void Surface::clear(const QRect& area)
{
    const QRect device = deviceRect(area.intersected(rect()));
    for (int row = device.top(); row <= device.bottom(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        std::fill(line + device.left(), line + device.left() + device.width(), 0u);
    }
}

void Surface::changed(const QRect& area)
{
    ++version;
    if (onChanged) {
        onChanged(area.intersected(rect()));
    }
}

const QFont& Surface::font()
{
    if (fontStale) {
        font_ = QFont(QString::fromLatin1(kFontFamily));
        font_.setPixelSize(textSize > 0 ? textSize : kDefaultTextSize);
        font_.setBold(bold);
        font_.setItalic(italic);
        metrics_ = QFontMetricsF(font_);
        lineHeight_ = QFontMetrics(font_).height();
        fontStale = false;
        layoutStale_ = true;
    }
    return font_;
}

const QFontMetricsF& Surface::metrics()
{
    (void)font();
    return metrics_;
}

int Surface::lineHeight()
{
    (void)font();
    return lineHeight_;
}

const QStaticText& Surface::layout(const QString& text)
{
    (void)font();
    if (layoutStale_ || layout_.text() != text) {
        layout_ = QStaticText(text);
        layout_.setTextFormat(Qt::PlainText);
        layout_.setPerformanceHint(QStaticText::AggressiveCaching);
        layout_.prepare(QTransform(), font_);
        layoutStale_ = false;
    }
    return layout_;
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
            // Pictures are nearly always opaque: then there is nothing to unmultiply.
            const QRgb colour = qAlpha(src[x]) == 255 ? src[x] : qUnpremultiply(src[x]);
            int alpha = qAlpha(colour);
            if (mode == 1 && (colour & 0xFFFFFF) == 0xFFFFFF) {
                alpha = 0;
            }
            if (mask != nullptr && x < maskImage.width()) {
                // Black is opaque, white invisible, grey in between. A mask
                // is opaque grey, so its red channel is its level.
                alpha = (alpha * (255 - qRed(grey[x])) + 127) / 255;
            }
            dst[x] = alpha == 255 ? colour
                                  : qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha));
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
