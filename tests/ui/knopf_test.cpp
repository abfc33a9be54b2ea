// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The Knopf button: what the window's own buttons never show (straight ends,
// a caption wider than the button) and the looks and events of hover, press,
// release and exit. Its resting look, body, shading, outline and halo, the
// screen's reference frames pin in every button of the window.
#include "ui/knopf/knopf.h"

#include "fuzz/player_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using platform::Color;

constexpr Color kFensterFarbe = 0xFFCC99; // the window's BackColor
constexpr Color kBraun = 0x663300; // Farbe of neu and the digits
constexpr Color kSchwarz = 0x000000;
constexpr Color kBlau = 0x0000FF; // never a body colour

// A look of a button (or of a picture): its pixels row by row.
struct Surface {
    int w = 0;
    std::vector<Color> px;
    [[nodiscard]] Color at(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
    [[nodiscard]] bool has(Color c) const { return std::ranges::find(px, c) != px.end(); }
    bool operator==(const Surface&) const = default;
};

template <class Source> Surface grab(const Source& source, int w = 100, int h = 40)
{
    Surface s { w, {} };
    for (int i = 0; i < w * h; ++i) {
        s.px.push_back(source.pixel(i % w, i / w));
    }
    return s;
}

} // namespace

class KnopfTest : public testing::Test {
protected:
    KnopfTest() { window.setBackColor(kFensterFarbe); }

    // A button styled like neu, without a caption unless one is given.
    Knopf& knopf(int w, int h, int radius, std::string text = "")
    {
        auto& k = window.add<Knopf>("k" + std::to_string(made++), platform::kNoIndex);
        k.Farbe = kBraun;
        k.Radius = radius;
        k.Text = std::move(text);
        k.Textfarbe = 0xFFFFFF;
        k.Bold = true;
        k.Textschatten = true;
        k.Size = 24;
        k.setBounds(0, 0, w, h);
        k.refresh();
        return k;
    }

    platform::Window window;
    int made = 0;
};

TEST_F(KnopfTest, OneStraightEndHasItsOutlineInTheEdgeColumnAndKeepsTheOtherEndRound)
{
    struct Case {
        bool links, rechts;
        int straight, round, inward;
    };
    for (const Case c : { Case { true, false, 99, 0, -1 }, Case { false, true, 0, 99, 1 } }) {
        SCOPED_TRACE(testing::Message() << "links " << c.links << " rechts " << c.rechts);
        Knopf& k = knopf(100, 40, 10);
        k.links = c.links;
        k.rechts = c.rechts;
        k.refresh();
        const Surface s = grab(k);
        for (int y = 0; y < 40; ++y) {
            EXPECT_EQ(s.at(c.straight, y), kSchwarz) << y;
        }
        // Next to the straight end's corners lies body, not the window colour.
        for (const int y : { 1, 38 }) {
            EXPECT_NE(s.at(c.straight + c.inward, y), kFensterFarbe);
            EXPECT_NE(s.at(c.straight + c.inward, y), kSchwarz);
        }
        EXPECT_EQ(std::pair(s.at(c.round, 0), s.at(c.round, 39)), std::pair(kFensterFarbe, kFensterFarbe));
    }
    Knopf& beide = knopf(100, 40, 10, "NEU");
    beide.links = true;
    beide.rechts = true;
    beide.refresh();
    EXPECT_EQ(grab(beide), grab(knopf(100, 40, 10, "NEU"))) << "both ends straight draw as neither";
}

// --- the caption

TEST_F(KnopfTest, CaptionWiderThanTheButtonIsCentredAndCutOnBothSides)
{
    // Two blocks, a gap, two blocks: centred, the gap falls in the middle.
    Knopf& k = knopf(30, 60, 0, "\u2588\u2588  \u2588\u2588");
    k.Textschatten = false;
    k.Textfarbe = kBlau;
    k.refresh();
    std::vector<bool> blue(30); // the columns with some of the caption
    for (int i = 0; i < 30 * 60; ++i) {
        blue[i % 30] = blue[i % 30] || k.pixel(i % 30, i / 30) == kBlau;
    }
    EXPECT_EQ(std::tuple(blue[0], blue[29], blue[15]), std::tuple(true, true, false));
}

// --- the looks and events

// Enter redraws only the caption, in green, then raises enter; exit brings
// back the resting look, then raises ex. Neither raises anything else.
TEST_F(KnopfTest, EnterShowsAGreenCaptionAndExitTheRestingLookEachBeforeItsEvent)
{
    Knopf& k = knopf(100, 40, 10, "NEU");
    const Surface resting = grab(k);
    const Surface background = grab(*k.hintergrund()); // the caption is where they differ
    ASSERT_NE(background, resting);
    std::vector<std::string> raised;
    Surface whenEntered;
    Surface whenLeft;
    k.Action = [&] { raised.emplace_back("Action"); };
    k.enter = [&] {
        raised.emplace_back("enter");
        whenEntered = grab(k);
    };
    k.ex = [&] {
        raised.emplace_back("ex");
        whenLeft = grab(k);
    };

    k.MouseEnter();
    ASSERT_TRUE(whenEntered.has(Knopf::kHoverText));
    for (std::size_t i = 0; i < resting.px.size(); ++i) {
        EXPECT_TRUE(whenEntered.px[i] == resting.px[i] || resting.px[i] != background.px[i]) << "pixel " << i;
    }
    // Over the pressed look, too, only the caption changes.
    (void)k.MouseDown(50, 20);
    k.MouseEnter();
    EXPECT_EQ(k.pixel(5, 20), kSchwarz);
    k.MouseExit();
    EXPECT_EQ(whenLeft, resting);
    EXPECT_EQ(raised, (std::vector<std::string> { "enter", "enter", "ex" }));
}

// Through Qt's own mouse delivery: the press's grab brings the release to the
// button although the pointer has left it.
TEST_F(KnopfTest, PressShowsABlackBodyAndARedCaptionAndAReleaseAnywhereRaisesActionOnTheReleasedLook)
{
    window.setFixedSize(400, 300);
    Knopf& k = knopf(100, 40, 10, "NEU");
    k.setBounds(50, 50, 100, 40);
    const Surface resting = grab(k);
    int actions = 0;
    Surface whenRaised;
    k.Action = [&] {
        ++actions;
        whenRaised = grab(k);
    };
    window.show();
    fuzz::PlayerInput hands(window);
    hands.moveToWindow({ 100, 70 });
    hands.press();
    const Surface pressed = grab(k);
    // The body black from end to end; outside the shape as before.
    EXPECT_EQ(std::tuple(pressed.at(5, 20), pressed.at(95, 20), pressed.at(0, 0)),
        std::tuple(kSchwarz, kSchwarz, kFensterFarbe));
    EXPECT_TRUE(pressed.has(Knopf::kPressedText));
    EXPECT_EQ(actions, 0);
    hands.moveToWindow({ 350, 250 });
    hands.release();

    ASSERT_EQ(actions, 1);
    EXPECT_EQ(whenRaised.at(5, 20), resting.at(5, 20)); // a fresh body
    EXPECT_TRUE(whenRaised.has(Knopf::kHoverText));
    EXPECT_FALSE(whenRaised.has(Knopf::kPressedText));
}
