// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The window's 28 controls, created in a fixed order. Each gets its backdrop
// first, then its properties, then its handlers. Positions are window
// coordinates, also for a control inside a group box.
#include "game/fenster1.h"
#include "platform/note_player.h"
#include "platform/static_controls.h"
#include "resources/resources.h"
#include "ui/knopf/knopf.h"
#include "ui/window/control_arrays.h"
#include "ui/window/layout.h"

#include <array>
#include <string>
#include <utility>

namespace {

using platform::kNoIndex;

constexpr platform::Color kDarkBrown = 0x663300;
constexpr platform::Color kLightBrown = 0x996633;
constexpr platform::Color kBoardFrame = 0x432100;
constexpr platform::Color kLegendText = 0x191919;
constexpr platform::Color kWhite = 0xFFFFFF;
constexpr platform::Color kQuitRed = 0xFF3300;
constexpr platform::Color kQuitText = 0x993300;

constexpr int kFrameBorder = 7; // bevel width of Rectangle1
constexpr int kLegendTextSize = 20; // pixels
constexpr int kDigitTextSize = 24;
constexpr int kTimerMode = 2; // fires repeatedly
constexpr int kTimerPeriod = 4; // milliseconds
constexpr int kInstrument = 1; // General MIDI piano

using layout::Bounds;

void place(platform::RectControl& control, Bounds b, platform::RectControl* parent)
{
    control.setBounds(b.left, b.top, b.width, b.height);
    control.setParentControl(parent);
}

constexpr int kIndicators = 4; // noch 0..3: the balls of a game
constexpr int kLegendRows = 5; // st and StaticText1 0..4
constexpr int kDigits = 4; // zahl 0..3

// The legend, top to bottom: stone samples and their points.
constexpr std::array<Bounds, kLegendRows> kStBounds = { { { 684, 71, 100, 30 }, { 685, 113, 100, 30 },
    { 685, 155, 100, 30 }, { 685, 200, 100, 30 }, { 685, 243, 100, 30 } } };
constexpr std::array<Bounds, kLegendRows> kPointsBounds = { { { 795, 72, 40, 30 }, { 795, 113, 40, 30 },
    { 795, 155, 40, 30 }, { 795, 197, 40, 30 }, { 795, 243, 40, 30 } } };
constexpr std::array<const char*, kLegendRows> kPointsTexts = { "20", "15", "10", "5", "1" };
constexpr std::array<int, kIndicators> kNochLeft = { 687, 727, 768, 807 };
constexpr int kZahlLeft = 701; // the digits stand side by side, 30 wide

[[nodiscard]] resources::PictureRef stoneSample(int index)
{
    switch (index) {
    case 0:
        return resources::r1();
    case 1:
        return resources::g1();
    case 2:
        return resources::b1();
    case 3:
        return resources::e1();
    default:
        return resources::l1();
    }
}

void setCaption(Knopf& knopf, platform::Color farbe, std::string text, platform::Color textfarbe)
{
    knopf.Farbe = farbe;
    knopf.links = false;
    knopf.rechts = false;
    knopf.Text = std::move(text);
    knopf.Textfarbe = textfarbe;
    knopf.Italic = false;
    knopf.Textschatten = true;
}

void createRectangle1(Fenster1& f)
{
    auto& rectangle1 = f.add<platform::Rectangle>("Rectangle1", kNoIndex);
    place(rectangle1, { 10, 10, 620, 710 }, nullptr);
    rectangle1.setFillColor(kBoardFrame);
    rectangle1.setBorderWidth(kFrameBorder);
    rectangle1.setTopLeftColor(kDarkBrown);
    rectangle1.setBottomRightColor(kLightBrown);
}

void createFeld(Fenster1& f)
{
    auto& board = f.add<platform::Canvas>("feld", kNoIndex);
    board.setBackdrop(resources::hintergrund());
    place(board, layout::kBoard, &f.control<platform::RectControl>("Rectangle1"));
    board.onMouseEnter = [&f] { f.feld_MouseEnter(); };
    board.onMouseExit = [&f] { f.feld_MouseExit(); };
    board.onMouseMove = [&f](int x, int y) { f.feld_MouseMove(x, y); };
    board.onMouseDown = [&f](int x, int y) { return f.feld_MouseDown(x, y); };
}

void createGroupBox(Fenster1& f, const char* name, Bounds b, int textSize)
{
    auto& box = f.add<platform::GroupBox>(name, kNoIndex);
    place(box, b, nullptr);
    box.setCaption("");
    box.setTextSize(textSize);
}

void createNeu(Fenster1& f)
{
    auto& neu = f.add<Knopf>("neu", kNoIndex);
    place(neu, layout::kNeu, nullptr);
    setCaption(neu, kDarkBrown, "NEU", kWhite);
    neu.Radius = 10;
    neu.Bold = true;
    neu.Size = kDigitTextSize;
    neu.Action = [&f] { f.neu_Action(); };
}

void createNoch(Fenster1& f, int index)
{
    auto& noch = f.add<Fenster1Noch>("noch", index);
    noch.setBackdrop(resources::ball2());
    place(noch, { kNochLeft.at(index), 469, 30, 30 }, &f.control<platform::RectControl>("GroupBox3"));
}

void createSt(Fenster1& f, int index)
{
    auto& st = f.add<Fenster1St>("st", index);
    st.setBackdrop(stoneSample(index));
    place(st, kStBounds.at(index), &f.control<platform::RectControl>("GroupBox1"));
    st.onPaint = [&f](platform::Graphics& g) { f.st_Paint(g); };
}

void createPoints(Fenster1& f, int index)
{
    auto& label = f.add<Fenster1StaticText1>("StaticText1", index);
    place(label, kPointsBounds.at(index), &f.control<platform::RectControl>("GroupBox1"));
    label.setText(kPointsTexts.at(index));
    label.setTextAlign(platform::StaticText::Align::Centre);
    label.setTextColor(kLegendText);
    label.setTextSize(kLegendTextSize);
}

void createZahl(Fenster1& f, int index)
{
    auto& zahl = f.add<Fenster1Zahl>("zahl", index);
    place(zahl, { kZahlLeft + 30 * index, 340, 30, 60 }, &f.control<platform::RectControl>("GroupBox2"));
    setCaption(zahl, kDarkBrown, "0", kWhite);
    zahl.Radius = 0;
    zahl.Bold = true;
    zahl.Size = kDigitTextSize;
}

void createTimer1(Fenster1& f)
{
    auto& timer = f.add<Fenster1Timer1>("Timer1", kNoIndex);
    timer.setMode(kTimerMode);
    timer.setPeriod(kTimerPeriod);
    timer.onAction = [&f] { f.Timer1_Action(); };
}

void createNotePlayer1(Fenster1& f)
{
    auto& player = f.add<platform::NotePlayer>("NotePlayer1", kNoIndex);
    player.setInstrument(kInstrument);
}

void createStaticText2(Fenster1& f)
{
    auto& heading = f.add<platform::StaticText>("StaticText2", kNoIndex);
    place(heading, { 684, 46, 100, 20 }, &f.control<platform::RectControl>("GroupBox1"));
    heading.setText("Punkte");
    heading.setTextAlign(platform::StaticText::Align::Left);
    heading.setTextColor(kDarkBrown);
    heading.setTextSize(0);
}

void createKnopf1(Fenster1& f)
{
    auto& quit = f.add<Knopf>("Knopf1", kNoIndex);
    place(quit, layout::kQuit, nullptr);
    setCaption(quit, kQuitRed, "X", kQuitText);
    quit.Radius = 0;
    quit.Bold = false;
    quit.Size = 0;
    quit.Action = [&f] { f.Knopf1_Action(); };
}

} // namespace

void Fenster1::CreateControls()
{
    createRectangle1(*this);
    createFeld(*this);
    createGroupBox(*this, "GroupBox3", { 676, 449, 173, 67 }, 0);
    createNeu(*this);
    for (int i = 0; i < kIndicators; ++i) {
        createNoch(*this, i);
    }
    createGroupBox(*this, "GroupBox2", { 672, 320, 179, 100 }, 0);
    createGroupBox(*this, "GroupBox1", { 669, 35, 182, 254 }, kLegendTextSize);
    for (int i = 0; i < kLegendRows; ++i) {
        createSt(*this, i);
    }
    for (int i = 0; i < kLegendRows; ++i) {
        createPoints(*this, i);
    }
    // Timer1 came between the third and the fourth digit; the fourth still
    // stands rightmost.
    for (int i = 0; i < kDigits - 1; ++i) {
        createZahl(*this, i);
    }
    createTimer1(*this);
    createZahl(*this, kDigits - 1);
    createNotePlayer1(*this);
    createStaticText2(*this);
    createKnopf1(*this);
}
