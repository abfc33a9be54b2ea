// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Knopf: the game's own push button. A canvas that draws a shaded body, a
// centred caption with an optional halo and an optional icon, and raises
// Action, enter and ex to the window. It keeps no hover or press state: its
// look is whatever was last drawn on its surface.
#pragma once

#include "platform/canvas.h"
#include "platform/picture.h"

#include <functional>
#include <memory>
#include <string>

class Knopf : public platform::Canvas {
public:
    // No constructor of its own: a new button is the bare canvas with every
    // property below at zero until the layout sets them.
    using platform::Canvas::Canvas;

    // Caption colours of the looks, and the fixed colours of the drawing.
    static constexpr platform::Color kHoverText = 0x00FF00; // hover and after release
    static constexpr platform::Color kPressedText = 0xFF0000;
    static constexpr platform::Color kHalo = 0x4C4C4C;
    static constexpr platform::Color kOutline = 0x000000;
    static constexpr platform::Color kPressedBody = 0x000000;

    // Properties, all zero until the layout sets them.
    platform::Color Farbe = 0x000000; // body colour, shaded toward white by m1
    std::int32_t Radius = 0; // corner arcs in pixels; 0 gives square corners
    bool links = false; // links != rechts: one straight end (see fillBody)
    bool rechts = false;
    std::string Text;
    platform::Color Textfarbe = 0x000000; // caption colour at rest
    bool Italic = false;
    bool Bold = false;
    bool Textschatten = false; // dark halo around the caption
    std::int32_t Size = 0; // caption size in pixels; 0 is the default size
    std::int32_t q = 0; // declared, unused
    // The picture last drawn as the icon: the backdrop, taken at each paint.
    std::shared_ptr<platform::Picture> icon;

    // Events raised to the window; an empty one is not raised.
    std::function<void()> Action;
    std::function<void()> enter;
    std::function<void()> ex;

    // The body: a new W x H picture, the body on the window's BackColor.
    [[nodiscard]] virtual std::unique_ptr<platform::Picture> hintergrund();
    // Draws the caption in the colour onto the button's surface.
    virtual void textbau(platform::Color farbe);
    // Draws the backdrop, if any, centred onto the surface; the colour is unused.
    virtual void iconbau(platform::Color farbe);

    // The canvas events the button handles itself. None is passed on to the
    // canvas's own handlers: the window hears only Action, enter and ex.
    void Paint(platform::Graphics& g) override;
    void MouseEnter() override;
    void MouseExit() override;
    bool MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseDrag(int x, int y) override;

private:
    // The body shape in the current colour, and its one-pixel outline.
    void fillBody(platform::Graphics& g) const;
    void outlineBody(platform::Graphics& g) const;
    // The resting body drawn over the whole surface.
    void drawBody();
};
