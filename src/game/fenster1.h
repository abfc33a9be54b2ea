// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Fenster1: the game's only window, and the whole game. Its properties hold
// the state of one game; its handlers and methods play it. The layout and the
// creation of the controls live in ui/window, the game's units in game/.
#pragma once

#include "platform/canvas.h"
#include "platform/note_player.h"
#include "platform/picture.h"
#include "platform/timer.h"
#include "platform/window.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class Knopf;

class Fenster1 : public platform::Window {
public:
    using Int32 = std::int32_t;
    using Row = std::array<Int32, 6>; // element i: left x of stone i, 0 once gone; 5 unused

    // Builds the window: Layout, then the 28 controls. Open runs at show().
    Fenster1();
    ~Fenster1() override;

    // --- ui/window: the layout and the controls
    void Layout();
    void CreateControls();

    // --- the game's state, in declared order
    // board: background, stones, obstacle; shared with feld, whose backdrop it is
    std::shared_ptr<platform::Picture> p;
    std::unique_ptr<platform::Picture> p1; // clean background
    Int32 mausx = 0;
    std::unique_ptr<platform::Picture> rt1, gn1, bl1, ge1;
    Row rt {}, gn {}, bl {}, ge {};
    std::unique_ptr<platform::Picture> li1;
    Row li {};
    Int32 ballzahl = 0; // balls lost in this game
    Int32 w = 0; // ball's x step per tick
    Int32 s = 0; // ball's y step per tick
    Int32 ballx = 0;
    Int32 bally = 0;
    Int32 start = 0; // 0 no game, 1 ball waits, 2 in play, 3 game over
    std::unique_ptr<platform::Picture> ball;
    std::unique_ptr<platform::Picture> maus;
    Int32 mausy = 0;
    Int32 z = 0; // score
    Int32 level = 0;
    Int32 qq = 0; // the space bar's run toggle

    // --- handlers
    void feld_MouseEnter();
    void feld_MouseExit();
    void feld_MouseMove(Int32 x, Int32 y);
    bool feld_MouseDown(Int32 x, Int32 y);
    void neu_Action();
    void st_Paint(platform::Graphics& g);
    void Timer1_Action();
    void Knopf1_Action();
    void Event_Close() override;
    void Event_Open() override;
    bool Event_KeyDown(const std::string& key) override;
    void Event_Paint(platform::Graphics& g) override;

    // --- methods
    void Zahler(Int32 punkte);
    [[nodiscard]] bool vonbis(Int32 wert, Int32 von, Int32 bis) const;
    void zeigen();
    void steine();
    void ballweg();
    void ballhin();
    void mausweg();
    void maushin();
    void auswertung();
    void auswertung_maus();

private:
    // Controls, looked up by name at every use.
    [[nodiscard]] platform::Canvas& feld() const;
    [[nodiscard]] platform::Timer& Timer1() const;
    [[nodiscard]] platform::NotePlayer& NotePlayer1() const;
    [[nodiscard]] platform::Canvas& noch(Int32 i) const;
    [[nodiscard]] Knopf& zahl(Int32 i) const;

    // The picture (or cursor) behind a reference. Using a missing one raises
    // NilObjectError, as any use of a missing object does, instead of crashing.
    template <class Ref> [[nodiscard]] static auto& need(const Ref& object)
    {
        if (!object) {
            throw platform::NilObjectError("picture or cursor missing");
        }
        return *object;
    }

    // One sound: note-off, instrument, note-on at full velocity.
    void klang(int note, int instrument);
    // The stone strike on one row (see auswertung).
    void treffer(Row& reihe, Int32 y, Int32 punkte, Int32 m, bool aufwaerts);
};

// The one window, made on the first call and shown; later calls return it.
Fenster1& Fenster1Instance();
// True while the window exists.
bool Fenster1Exists();
// Destroys the window (shutdown).
void releaseFenster1();
