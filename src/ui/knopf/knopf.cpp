// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "ui/knopf/knopf.h"

#include "platform/globals.h"
#include "platform/graphics.h"
#include "platform/window.h"
#include "resources/resources.h"

#include <array>
#include <utility>

using platform::Color;
using platform::Graphics;
using platform::Picture;
using platform::ToInt32;

namespace {

constexpr Color kWhite = 0xFFFFFF;

// Where the halo copies of the caption go, relative to the caption, in the
// order they are drawn. The top-right and bottom-left diagonals get none.
constexpr std::array<std::pair<int, int>, 6> kHaloOffsets { {
    { -1, 0 },
    { -1, -1 },
    { 0, -1 },
    { 1, 1 },
    { 0, 1 },
    { 1, 0 },
} };

void raiseEvent(const std::function<void()>& event)
{
    if (event) {
        event();
    }
}

} // namespace

// --- drawing

void Knopf::fillBody(Graphics& g) const
{
    const int W = width();
    const int H = height();
    const int R = Radius;
    if (links == rechts) {
        g.fillRoundRect(0, 0, W, H, R, R);
        return;
    }
    // A straight end: the shape runs R past that side, so its arcs fall
    // outside the button and are cut off.
    if (!rechts) {
        g.fillRoundRect(0, 0, W + R, H, R, R);
    }
    if (!links) {
        g.fillRoundRect(-R, 0, W + R, H, R, R);
    }
}

void Knopf::outlineBody(Graphics& g) const
{
    const int W = width();
    const int H = height();
    const int R = Radius;
    if (links == rechts) {
        g.drawRoundRect(0, 0, W, H, R, R);
        return;
    }
    // The cut side gets an outline line of its own.
    if (!rechts) {
        g.drawRoundRect(0, 0, W + R, H, R, R);
        g.drawLine(W - 1, 0, W - 1, H);
    }
    if (!links) {
        g.drawRoundRect(-R, 0, W + R, H, R, R);
        g.drawLine(0, 0, 0, H);
    }
}

std::unique_ptr<Picture> Knopf::hintergrund()
{
    const int W = width();
    const int H = height();
    const Color hinter = window().BackColor();
    const resources::PictureRef m1 = resources::m1();

    // A: the body in Farbe, on the window's colour.
    auto a = Picture::NewPicture(W, H, 32);
    Graphics& ga = a->graphics();
    ga.setForeColor(hinter);
    ga.fillRect(0, 0, W, H);
    ga.setForeColor(Farbe);
    fillBody(ga);

    // A's mask: the shading stretched over the whole button. Where it is
    // light, A lets the white body of B through.
    // Without m1 (its absence is reported where it failed to load) the body
    // is plain Farbe, and the button still works.
    if (m1) {
        a->mask().graphics().drawPicture(*m1, 0, 0, W, H, 0, 0, m1->width(), m1->height());
    }

    // B: the same body in white, then A over it through the mask.
    auto b = Picture::NewPicture(W, H, 32);
    Graphics& gb = b->graphics();
    gb.setForeColor(hinter);
    gb.fillRect(0, 0, W, H);
    gb.setForeColor(kWhite);
    fillBody(gb);
    gb.drawPicture(*a, 0, 0);

    gb.setForeColor(kOutline);
    outlineBody(gb);
    return b;
}

void Knopf::drawBody()
{
    const std::unique_ptr<Picture> body = hintergrund();
    graphics().drawPicture(*body, 0, 0);
}

void Knopf::textbau(Color farbe)
{
    Graphics& g = graphics();
    g.setBold(Bold);
    g.setItalic(Italic);
    g.setTextSize(Size);

    // Baseline a third of a line below the middle; the caption centred.
    const int y = ToInt32(height() / 2.0 + g.textHeight() / 3.0);
    const int x = ToInt32((width() - g.stringWidth(Text)) / 2.0);

    if (Textschatten) {
        g.setForeColor(kHalo);
        for (const auto& [dx, dy] : kHaloOffsets) {
            g.drawString(Text, x + dx, y + dy);
        }
    }
    g.setForeColor(farbe);
    g.drawString(Text, x, y);
}

void Knopf::iconbau(Color /*farbe*/)
{
    if (backdrop() == nullptr) {
        return;
    }
    icon = backdropPicture();
    const int x = ToInt32((width() - icon->width()) / 2.0);
    const int y = ToInt32((height() - icon->height()) / 2.0);
    graphics().drawPicture(*icon, x, y);
}

// --- events. Each draws its look first, then raises its event, so the
// window's handler finds the new look on the surface.

void Knopf::Paint(Graphics& /*g*/)
{
    // Everything goes onto the button's own surface; the paint's graphics is
    // not used.
    drawBody();
    textbau(Textfarbe);
    iconbau(Textfarbe);
}

void Knopf::MouseEnter()
{
    textbau(kHoverText);
    raiseEvent(enter);
}

bool Knopf::MouseDown(int /*x*/, int /*y*/)
{
    Graphics& g = graphics();
    g.setForeColor(kPressedBody);
    fillBody(g);
    textbau(kPressedText);
    // Claiming the press brings its release here wherever the pointer goes.
    return true;
}

void Knopf::MouseUp(int /*x*/, int /*y*/)
{
    drawBody();
    textbau(kHoverText);
    raiseEvent(Action);
}

void Knopf::MouseExit()
{
    refresh(true);
    raiseEvent(ex);
}

void Knopf::MouseMove(int /*x*/, int /*y*/) { }

void Knopf::MouseDrag(int /*x*/, int /*y*/) { }
