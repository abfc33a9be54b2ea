// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The application's icon: the game in miniature. A wooden frame around the
// dark board, two rows of stones, the ball and the paddle, laid out once in
// a 256-unit square and drawn both from the game's pictures (the PNG sizes)
// and as plain SVG shapes in the same colours (the scalable icon).
#include "art.h"

#include <QPainter>
#include <QPainterPath>

#include <array>

namespace art {

namespace {

constexpr int kUnits = 256;
constexpr int kMaster = 1024; // the PNG sizes are all made from one drawing this large
constexpr int kPerUnit = kMaster / kUnits;

constexpr QRectF kFrame { 8, 8, 240, 240 };
constexpr double kFrameRadius = 36;
constexpr QRectF kBoard { 24, 24, 208, 208 };
constexpr double kBoardRadius = 20;

struct Stone {
    QRectF place;
    QImage (*draw)(int scale);
    const char* colour; // for the SVG: the picture's base colour
};
const std::array<Stone, 4> kStones { {
    { { 32, 40, 92, 28 }, drawR1, "#D42A22" },
    { { 132, 40, 92, 28 }, drawE1, "#F0B81C" },
    { { 32, 76, 92, 28 }, drawG1, "#2E9E3A" },
    { { 132, 76, 92, 28 }, drawB1, "#2A62D0" },
} };

// The ball is drawn larger than on the board, so it still shows at 16 px.
constexpr QRectF kBall { 98, 114, 60, 60 };
constexpr QRectF kPaddle { 78, 194, 100, 25 };

constexpr QRgb kFrameLine = 0xFF432100;

// A picture whose pure white is see-through in the game, with that white
// made transparent.
QImage withoutWhite(QImage image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == 0xFFFFFF) {
                line[x] = 0;
            }
        }
    }
    return image;
}

QPainterPath rounded(const QRectF& rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QImage master()
{
    QImage image(kMaster, kMaster, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(kPerUnit, kPerUnit);

    // Cut-outs of the two backgrounds; they have little detail to lose.
    painter.setClipPath(rounded(kFrame, kFrameRadius));
    painter.drawImage(kFrame, drawHintergrund2(1), QRectF(330, 250, 240, 240));
    painter.setClipPath(rounded(kBoard, kBoardRadius));
    painter.drawImage(kBoard, drawHintergrund(1), QRectF(196, 0, 208, 208));
    painter.setClipping(false);
    painter.setPen(QPen(QColor::fromRgba(kFrameLine), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(rounded(kFrame.adjusted(1, 1, -1, -1), kFrameRadius - 1));

    for (const Stone& stone : kStones) {
        painter.drawImage(stone.place, stone.draw(kPerUnit));
    }
    painter.drawImage(kBall, withoutWhite(drawBall2(2 * kPerUnit)));
    painter.drawImage(kPaddle, withoutWhite(drawMaus2(kPerUnit)));
    painter.end();
    return image;
}

QString svgRect(const QRectF& r, double radius, const QString& attributes)
{
    return QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" %6/>\n")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .arg(radius)
        .arg(attributes);
}

} // namespace

QImage drawIcon(int size)
{
    static const QImage drawn = master();
    return drawn.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QByteArray iconSvg()
{
    QString svg = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n"
        "<defs>\n"
        "<linearGradient id=\"wood\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
        "<stop offset=\"0\" stop-color=\"#FFD9AA\"/><stop offset=\"1\" "
        "stop-color=\"#C98F58\"/></linearGradient>\n"
        "<radialGradient id=\"board\" cx=\"0.5\" cy=\"0.25\" r=\"0.85\">"
        "<stop offset=\"0\" stop-color=\"#553521\"/><stop offset=\"1\" "
        "stop-color=\"#22150C\"/></radialGradient>\n"
        "<linearGradient id=\"gloss\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
        "<stop offset=\"0\" stop-color=\"#FFFFFF\" stop-opacity=\"0.45\"/>"
        "<stop offset=\"0.46\" stop-color=\"#FFFFFF\" stop-opacity=\"0.15\"/>"
        "<stop offset=\"0.48\" stop-color=\"#FFFFFF\" stop-opacity=\"0\"/></linearGradient>\n"
        "<radialGradient id=\"steel\" cx=\"0.38\" cy=\"0.3\" r=\"0.75\">"
        "<stop offset=\"0\" stop-color=\"#FFFFFF\"/><stop offset=\"0.25\" stop-color=\"#D4D4DC\"/>"
        "<stop offset=\"0.7\" stop-color=\"#8C8A94\"/><stop offset=\"1\" "
        "stop-color=\"#3A3034\"/></radialGradient>\n"
        "<linearGradient id=\"copper\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
        "<stop offset=\"0\" stop-color=\"#F0B080\"/><stop offset=\"0.3\" stop-color=\"#D87838\"/>"
        "<stop offset=\"1\" stop-color=\"#7A3A14\"/></linearGradient>\n"
        "</defs>\n")
                      .arg(kUnits);
    svg += svgRect(
        kFrame, kFrameRadius, QStringLiteral("fill=\"url(#wood)\" stroke=\"#432100\" stroke-width=\"2\""));
    svg += svgRect(kBoard, kBoardRadius, QStringLiteral("fill=\"url(#board)\""));
    for (const Stone& stone : kStones) {
        svg += svgRect(stone.place, 3,
            QStringLiteral("fill=\"%1\" stroke=\"#663300\"").arg(QLatin1String(stone.colour)));
        svg += svgRect(stone.place, 3, QStringLiteral("fill=\"url(#gloss)\""));
    }
    svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"url(#steel)\" stroke=\"#24180F\"/>\n")
               .arg(kBall.center().x())
               .arg(kBall.center().y())
               .arg(kBall.width() / 2 - 0.5);
    svg += svgRect(kPaddle, 10, QStringLiteral("fill=\"url(#copper)\" stroke=\"#24180F\""));
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

} // namespace art
