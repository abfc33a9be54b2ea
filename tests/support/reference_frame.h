// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The pinned frames of tests/references/ as a screen shows them. A reference
// keeps only what the game draws over its art (the window's wood and the
// board's) and is see-through where the art shows unchanged, so it is laid
// over the art of the scale it was taken at.
#pragma once

#include "platform/picture.h"
#include "platform/surface.h"
#include "resources/resources.h"
#include "ui/window/layout.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <string>

// The window's and the board's art in place, in device pixels of the
// surface scale in force.
inline QImage artBeneathFrames(int scale)
{
    QImage art = resources::Hintergrund2()->surface().image.convertToFormat(QImage::Format_RGB32);
    QImage board = resources::hintergrund()->surface().image;
    art.setDevicePixelRatio(1);
    board.setDevicePixelRatio(1);
    QPainter(&art).drawImage(QPoint(layout::kBoard.left, layout::kBoard.top) * scale, board);
    return art;
}

inline QString referencePath(const std::string& name)
{
    return QString::fromStdString(std::string(ZINDRA_REFERENCES) + "/" + name + ".png");
}

inline QImage referenceFrame(const std::string& name, int scale)
{
    QImage frame = artBeneathFrames(scale);
    QPainter(&frame).drawImage(0, 0, QImage(referencePath(name)));
    return frame;
}
