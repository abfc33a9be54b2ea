// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The game window as the program opens it, on the headless platform, with a
// silent note output and a timer that runs on a clock the test winds.
#pragma once

#include "game/board.h"
#include "game/fenster1.h"
#include "platform/note_player.h"
#include "platform/timer.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

namespace fuzz {

// Swallows the notes and notices a note, a loudness or an instrument the game
// never asks for.
class SilentNotes : public platform::NoteOutput {
public:
    void programChange(int program) override
    {
        strange |= program != board::kBounceInstrument - 1 && program != board::kScoreInstrument - 1;
    }
    void noteOn(int note, int velocity) override { strange |= velocity != board::kLoud || !known(note); }
    void noteOff(int note) override { strange |= !known(note); }
    [[nodiscard]] static bool known(int note) { return std::ranges::count(kNotes, note) > 0; }

    static constexpr std::array kNotes
        = { board::kEdgeNote, board::kLossNote, board::kPaddleNote, board::kScoreNote };
    bool strange = false;
};

class OpenedGame {
public:
    static constexpr std::int64_t kNsPerMs = 1'000'000;
    static constexpr std::int64_t kPeriodNs = 4 * kNsPerMs; // Timer1's

    OpenedGame()
    {
        window->control<platform::NotePlayer>("NotePlayer1").setOutput(notes);
        timer().setClock([this] { return clockNs; });
        window->show(); // raises Open
        // Lets the platform expose the window, so that paints reach it.
        QCoreApplication::processEvents();
    }

    [[nodiscard]] Fenster1& f() const { return *window; }
    [[nodiscard]] platform::Timer& timer() const { return window->control<platform::Timer>("Timer1"); }

    // Winds the clock on and wakes the timer: the ticks due by then are
    // delivered, at most 100 ms of them. Returns how many came.
    std::int64_t wind(std::int64_t ns)
    {
        const std::int64_t before = timer().ticksDelivered();
        clockNs += ns;
        timer().wakeUp();
        return timer().ticksDelivered() - before;
    }

    std::unique_ptr<Fenster1> window = std::make_unique<Fenster1>();
    std::shared_ptr<SilentNotes> notes = std::make_shared<SilentNotes>();
    std::int64_t clockNs = 0;
};

} // namespace fuzz
