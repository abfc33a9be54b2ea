// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The Knopf button: its body, caption and halo pixel by pixel, and the looks
// and events of hover, press, release and exit.
#include "ui/knopf/knopf.h"

#include "platform/picture.h"
#include "platform/widgets.h"
#include "platform/window.h"
#include "resources/resources.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWindow>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
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
        for (int y = 0; y < h; ++y) {
            if (at(x, y) == c) {
                return true;
            }
        }
        return false;
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

// --- the body

TEST_F(KnopfTest, RoundCornersShowTheWindowColourOutsideABlackOutline)
{
    const Knopf& k = knopf(100, 40, 10);
    const Surface s = grab(k);
    for (const auto& [x, y, dx, dy] :
        { std::array { 0, 0, 1, 1 }, { 99, 0, -1, 1 }, { 0, 39, 1, -1 }, { 99, 39, -1, -1 } }) {
        EXPECT_EQ(s.at(x, y), kFensterFarbe) << x << "," << y;
        EXPECT_EQ(s.at(x + dx, y), kFensterFarbe) << x << "," << y;
        EXPECT_EQ(s.at(x, y + dy), kFensterFarbe) << x << "," << y;
        EXPECT_EQ(k.alpha(x, y), 255) << "the window's own backdrop shows through";
    }
    // Every body pixel beside the window colour or the button's edge is
    // outline, on the arcs as on the straight sides.
    auto outside = [&s](int x, int y) {
        return x < 0 || x >= s.w || y < 0 || y >= s.h || s.at(x, y) == kFensterFarbe;
    };
    int onArcs = 0;
    for (int y = 0; y < s.h; ++y) {
        for (int x = 0; x < s.w; ++x) {
            if (!outside(x, y)
                && (outside(x - 1, y) || outside(x + 1, y) || outside(x, y - 1) || outside(x, y + 1))) {
                EXPECT_EQ(s.at(x, y), kSchwarz) << x << "," << y;
                onArcs += x > 0 && x < 99 && y > 0 && y < 39;
            }
        }
    }
    EXPECT_GT(onArcs, 0);
}

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
}

TEST_F(KnopfTest, ShadingBlendsFarbeTowardWhiteByTheMasksGreyLevel)
{
    const auto m1 = resources::m1();
    ASSERT_TRUE(m1);
    const int W = 100;
    const int H = 40;
    const Surface s = grab(knopf(W, H, 0));
    const int mw = m1->width();
    const int mh = m1->height();
    auto grey = [&](int x, int y) {
        const Color c = m1->pixel(x, y);
        return static_cast<int>((((c >> 16) & 0xFF) * 11 + ((c >> 8) & 0xFF) * 16 + (c & 0xFF) * 5) / 32);
    };
    int checked = 0;
    for (int y = 1; y < H - 1; ++y) {
        for (int x = 1; x < W - 1; ++x) {
            // The grey range of the mask pixels the stretch may have sampled
            // for (x, y), one more on each side for the smoothing filter.
            int lo = 255;
            int hi = 0;
            for (int sy = std::max(0, y * mh / H - 1); sy <= std::min(mh - 1, (y + 1) * mh / H + 1); ++sy) {
                for (int sx = std::max(0, x * mw / W - 1); sx <= std::min(mw - 1, (x + 1) * mw / W + 1);
                     ++sx) {
                    lo = std::min(lo, grey(sx, sy));
                    hi = std::max(hi, grey(sx, sy));
                }
            }
            if (hi - lo > 8) {
                continue; // too steep here to tell the filter from a fault
            }
            ++checked;
            for (const int shift : { 16, 8, 0 }) {
                const int farbe = static_cast<int>((kBraun >> shift) & 0xFF);
                const int got = static_cast<int>((s.at(x, y) >> shift) & 0xFF);
                EXPECT_GE(got, farbe + (255 - farbe) * lo / 255.0 - 2) << x << "," << y << " shift " << shift;
                EXPECT_LE(got, farbe + (255 - farbe) * hi / 255.0 + 2) << x << "," << y << " shift " << shift;
            }
        }
    }
    EXPECT_GT(checked, (W - 2) * (H - 2) / 4);
}

// --- the caption

TEST_F(KnopfTest, HaloCopiesTheGlyphToSixNeighboursButNotTheRisingDiagonal)
{
    // A white body shows every touched pixel, however faint.
    Knopf& k = knopf(40, 40, 0);
    k.Farbe = 0xFFFFFF;
    k.Textfarbe = kSchwarz;
    k.refresh();
    const Surface bare = grab(k);
    k.Text = ".";
    k.Textschatten = false;
    k.refresh();
    const auto glyph = differing(bare, grab(k));
    ASSERT_FALSE(glyph.empty());
    k.Textschatten = true;
    k.refresh();
    const Surface withHalo = grab(k);

    // Left, up-left, up, down-right, down, right: not up-right nor down-left.
    auto expected = glyph;
    for (const auto& [x, y] : glyph) {
        for (const auto& [dx, dy] :
            { std::pair { -1, 0 }, { -1, -1 }, { 0, -1 }, { 1, 1 }, { 0, 1 }, { 1, 0 } }) {
            expected.insert({ x + dx, y + dy });
        }
    }
    EXPECT_EQ(differing(bare, withHalo), expected);
    EXPECT_TRUE(withHalo.has(Knopf::kHalo));
}

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

// A square body has a one-pixel black frame, corners included; both end
// flags set draw exactly like neither; an empty caption leaves the bare body.
TEST_F(KnopfTest, SquareFrameBothEndFlagsAndEmptyCaption)
{
    const Surface s = grab(knopf(30, 60, 0));
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 30; ++x) {
            EXPECT_EQ(s.at(x, y) == kSchwarz, x == 0 || x == 29 || y == 0 || y == 59) << x << "," << y;
        }
    }
    Knopf& weder = knopf(100, 40, 10);
    EXPECT_EQ(grab(weder), grab(*weder.hintergrund(), 100, 40));
    Knopf& beide = knopf(100, 40, 10, "NEU");
    beide.links = true;
    beide.rechts = true;
    beide.refresh();
    weder.Text = "NEU";
    weder.refresh();
    EXPECT_EQ(grab(beide), grab(weder));
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
    QWindow* handle = window.widget().windowHandle();
    ASSERT_NE(handle, nullptr);
    auto send = [handle](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &event);
    };

    send(QEvent::MouseButtonPress, { 100, 70 }, Qt::LeftButton);
    const Surface pressed = grab(k);
    EXPECT_EQ(pressed.at(5, 20), kSchwarz);
    EXPECT_EQ(pressed.at(95, 20), kSchwarz);
    EXPECT_EQ(pressed.at(0, 0), kFensterFarbe); // outside the shape: as before
    EXPECT_TRUE(pressed.has(Knopf::kPressedText));
    EXPECT_EQ(actions, 0);
    send(QEvent::MouseMove, { 350, 250 }, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, { 350, 250 }, Qt::NoButton);

    ASSERT_EQ(actions, 1);
    EXPECT_EQ(whenRaised.at(5, 20), resting.at(5, 20)); // a fresh body
    EXPECT_TRUE(whenRaised.has(Knopf::kHoverText));
    EXPECT_FALSE(whenRaised.has(Knopf::kPressedText));
}
