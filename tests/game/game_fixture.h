// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A fresh, opened game window for every test, with its notes recorded and the
// pointer's screen position under the test's control.
#pragma once

#include "game/board.h"
#include "game/fenster1.h"
#include "platform/globals.h"
#include "ui/knopf/knopf.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

class GameTest : public testing::Test {
protected:
    void SetUp() override
    {
        platform::resetQuit();
        f = std::make_unique<Fenster1>();
        notes = std::make_shared<platform::NoteRecording>();
        f->control<platform::NotePlayer>("NotePlayer1").setOutput(notes);
        f->show(); // raises Open
    }
    void TearDown() override
    {
        platform::setMouseXSource({});
        f.reset();
    }

    // Puts the pointer (what System.MouseX reads) so that the paddle's
    // middle is over board x.
    void pointerOverBoardX(int x)
    {
        platform::setMouseXSource([at = f->Left() + 20 + x] { return at; });
    }

    // A game in play: stones laid, the paddle under board x, the ball launched.
    void launch(int x = 300)
    {
        f->neu_Action();
        f->feld_MouseMove(x, 600);
        f->feld_MouseDown(x, 600);
        notes->events.clear();
    }

    [[nodiscard]] platform::Canvas& feld() const { return f->control<platform::Canvas>("feld"); }
    [[nodiscard]] platform::Timer& timer() const { return f->control<platform::Timer>("Timer1"); }
    [[nodiscard]] platform::Canvas& noch(int i) const { return f->control<platform::Canvas>("noch", i); }
    // The score's four digits as shown.
    [[nodiscard]] std::string digits() const
    {
        std::string shown;
        for (int k = 0; k < 4; ++k) {
            shown += f->control<Knopf>("zahl", k).Text;
        }
        return shown;
    }
    // Which of the four ball indicators show.
    [[nodiscard]] std::vector<bool> indicators() const
    {
        return { noch(0).visible(), noch(1).visible(), noch(2).visible(), noch(3).visible() };
    }

    // True when feld shows the board picture p in the rectangle: no figure
    // is drawn there.
    [[nodiscard]] bool feldShowsBoard(int x, int y, int w, int h) const
    {
        for (int i = 0; i < w * h; ++i) {
            if (feld().pixel(x + i % w, y + i / w) != f->p->pixel(x + i % w, y + i / w)) {
                return false;
            }
        }
        return true;
    }

    using Note = platform::NoteRecording::Event;
    using Kind = Note::Kind;
    // The sequence of one sound, times over: note-off, instrument, note-on.
    [[nodiscard]] static std::vector<Note> sound(int note, int instrument, int times = 1)
    {
        std::vector<Note> all;
        for (int i = 0; i < times; ++i) {
            all.insert(all.end(),
                { { Kind::Off, note, 0 }, { Kind::Program, instrument - 1, 0 }, { Kind::On, note, 127 } });
        }
        return all;
    }

    std::unique_ptr<Fenster1> f;
    std::shared_ptr<platform::NoteRecording> notes;
};
