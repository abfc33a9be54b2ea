// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The controls that only display: a text label, a group box and a bevelled
// rectangle. Each draws itself into its surface when a property changes.
#pragma once

#include "platform/control.h"

#include <string>

namespace platform {

class StaticText : public RectControl {
public:
    enum class Align { Left = 0, Centre = 1, Right = 2 };

    StaticText(Window& window, std::string name, std::int32_t index = kNoIndex);

    void setText(std::string text);
    [[nodiscard]] const std::string& text() const { return text_; }
    void setTextAlign(Align align);
    void setTextColor(Color color);
    // 0 selects the default size.
    void setTextSize(int size);

protected:
    void drawLook() override;

private:
    std::string text_;
    Align align_ = Align::Left;
    Color color_ = 0x000000;
    int size_ = 0;
};

// A frame around a group of controls, with an optional caption.
class GroupBox : public RectControl {
public:
    GroupBox(Window& window, std::string name, std::int32_t index = kNoIndex);

    void setCaption(std::string caption);
    void setTextSize(int size);

protected:
    void drawLook() override;

private:
    std::string caption_;
    int size_ = 0;
};

// A filled rectangle with a bevelled border: the top and left edges in one
// colour, the bottom and right edges in another.
class Rectangle : public RectControl {
public:
    Rectangle(Window& window, std::string name, std::int32_t index = kNoIndex);

    void setFillColor(Color color);
    void setBorderWidth(int width);
    void setTopLeftColor(Color color);
    void setBottomRightColor(Color color);

    // Its look follows from these few properties: it keeps no pixels.
    [[nodiscard]] bool keepsPixels() const override { return false; }
    void drawOnScreen(detail::ScreenArea& screen) const override;
    [[nodiscard]] Color pixel(int x, int y) const override;
    [[nodiscard]] int alpha(int x, int y) const override;

private:
    // The colour of the pixel (x, y) inside the rectangle: the fill, or a
    // border's where (x, y) lies in it.
    [[nodiscard]] Color colourAt(int x, int y) const;

    Color fill_ = 0xFFFFFF;
    int border_ = 1;
    Color topLeft_ = 0x000000;
    Color bottomRight_ = 0x000000;
};

} // namespace platform
