// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The Knopf button: what the window's own buttons never show (straight ends,
// a caption wider than the button) and the looks and events of hover, press,
// release and exit. Its resting look, body, shading, outline and halo, the
// screen's reference frames pin in every button of the window.
#include "ui/knopf/knopf.h"

#include "fuzz/player_input.h"

#include "platform/picture.h"
#include "platform/widgets.h"
#include "platform/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::Color;

constexpr Color kFensterFarbe = 0xFFCC99; // the window's BackColor
constexpr Color kBraun = 0x663300; // Farbe of neu and the digits
constexpr Color kSchwarz = 0x000000;
constexpr Color kBlau = 0x0000FF; // never a body colour

struct Surface {
    int w = 0;
    int h = 0;
    std::vector<Color> px; // row by row
    [[nodiscard]] Color at(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
    [[nodiscard]] bool has(Color c) const { return std::find(px.begin(), px.end(), c) != px.end(); }
    [[nodiscard]] bool columnHas(int x, Color c) const
    {
        return std::ranges::any_of(std::views::iota(0, h), [&](int y) { return at(x, y) == c; });
    }
    bool operator==(const Surface&) const = default;
};

template <class Source> Surface grab(const Source& source, int w, int h)
{
    Surface s { w, h, {} };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            s.px.push_back(source.pixel(x, y));
        }
    }
    return s;
}

Surface grab(const Knopf& k)
{
    return grab(k, k.width(), k.height());
}

// The pixels where two looks of the same button differ.
std::set<std::pair<int, int>> differing(const Surface& a, const Surface& b)
{
    std::set<std::pair<int, int>> out;
    for (int y = 0; y < a.h; ++y) {
        for (int x = 0; x < a.w; ++x) {
            if (a.at(x, y) != b.at(x, y)) {
                out.insert({ x, y });
            }
        }
    }
    return out;
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
        EXPECT_EQ(s.at(c.round, 0), kFensterFarbe);
        EXPECT_EQ(s.at(c.round, 39), kFensterFarbe);
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
    const Surface s = grab(k);
    EXPECT_TRUE(s.columnHas(0, kBlau));
    EXPECT_TRUE(s.columnHas(29, kBlau));
    EXPECT_FALSE(s.columnHas(15, kBlau));
}

// --- the looks and events

// Enter redraws only the caption, in green, then raises enter; exit brings
// back the resting look, then raises ex. Neither raises anything else.
TEST_F(KnopfTest, EnterShowsAGreenCaptionAndExitTheRestingLookEachBeforeItsEvent)
{
    Knopf& k = knopf(100, 40, 10, "NEU");
    const Surface resting = grab(k);
    const auto caption = differing(grab(*k.hintergrund(), 100, 40), resting);
    ASSERT_FALSE(caption.empty());
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
    EXPECT_TRUE(whenEntered.has(Knopf::kHoverText));
    for (const auto& [x, y] : differing(resting, whenEntered)) {
        EXPECT_TRUE(caption.contains({ x, y })) << x << "," << y;
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
    EXPECT_EQ(pressed.at(5, 20), kSchwarz);
    EXPECT_EQ(pressed.at(95, 20), kSchwarz);
    EXPECT_EQ(pressed.at(0, 0), kFensterFarbe); // outside the shape: as before
    EXPECT_TRUE(pressed.has(Knopf::kPressedText));
    EXPECT_EQ(actions, 0);
    hands.moveToWindow({ 350, 250 });
    hands.release();

    ASSERT_EQ(actions, 1);
    EXPECT_EQ(whenRaised.at(5, 20), resting.at(5, 20)); // a fresh body
    EXPECT_TRUE(whenRaised.has(Knopf::kHoverText));
    EXPECT_FALSE(whenRaised.has(Knopf::kPressedText));
}
