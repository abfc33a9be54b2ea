// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The classes of the window's control arrays (and of its timer, which lives
// in the control list like a control). Each takes the element's index, which
// the control keeps as its Index.
#pragma once

#include "platform/canvas.h"
#include "platform/static_controls.h"
#include "platform/timer.h"
#include "ui/knopf/knopf.h"

#include <cstdint>
#include <string>
#include <utility>

// The four ball indicators.
class Fenster1Noch : public platform::Canvas {
public:
    Fenster1Noch(platform::Window& window, std::string name, std::int32_t index)
        : platform::Canvas(window, std::move(name), index)
    {
    }
};

// The five stone samples of the points legend.
class Fenster1St : public platform::Canvas {
public:
    Fenster1St(platform::Window& window, std::string name, std::int32_t index)
        : platform::Canvas(window, std::move(name), index)
    {
    }
};

// The five points labels beside the stone samples.
class Fenster1StaticText1 : public platform::StaticText {
public:
    Fenster1StaticText1(platform::Window& window, std::string name, std::int32_t index)
        : platform::StaticText(window, std::move(name), index)
    {
    }
};

// The four score digits.
class Fenster1Zahl : public Knopf {
public:
    Fenster1Zahl(platform::Window& window, std::string name, std::int32_t index)
        : Knopf(window, std::move(name), index)
    {
    }
};

// The game's timer, kept in the window's control list with the window it
// belongs to.
class Fenster1Timer1 : public platform::Timer {
public:
    Fenster1Timer1(platform::Window& window, std::string name, std::int32_t index)
        : platform::Timer(window, std::move(name), index)
    {
    }

    platform::Window* const ownerWindow = &window();
};
