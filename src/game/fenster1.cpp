// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window's life: building it, the controls it looks up by name, and the
// one instance the application shows.
#include "game/fenster1.h"
#include "ui/knopf/knopf.h"

#include <memory>

Fenster1::Fenster1()
{
    Layout();
    CreateControls();
}

Fenster1::~Fenster1() = default;

platform::Canvas& Fenster1::feld() const
{
    return control<platform::Canvas>("feld");
}

platform::Timer& Fenster1::Timer1() const
{
    return control<platform::Timer>("Timer1");
}

platform::NotePlayer& Fenster1::NotePlayer1() const
{
    return control<platform::NotePlayer>("NotePlayer1");
}

platform::Canvas& Fenster1::noch(Int32 i) const
{
    return control<platform::Canvas>("noch", i);
}

Knopf& Fenster1::zahl(Int32 i) const
{
    return control<Knopf>("zahl", i);
}

namespace {

std::unique_ptr<Fenster1>& instance()
{
    static std::unique_ptr<Fenster1> window;
    return window;
}

} // namespace

Fenster1& Fenster1Instance()
{
    auto& window = instance();
    if (!window) {
        window = std::make_unique<Fenster1>();
        window->show(); // raises Open
    }
    return *window;
}

bool Fenster1Exists()
{
    return instance() != nullptr;
}

void releaseFenster1()
{
    instance().reset();
}
