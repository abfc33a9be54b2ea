// The Knopf button: its body, caption, halo and icon pixel by pixel, and the
// looks and events of hover, press, release and exit.
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
    std::vector<Color> px;
    [[nodiscard]] Color at(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
    [[nodiscard]] bool has(Color c) const { return std::find(px.begin(), px.end(), c) != px.end(); }
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

struct Raised {
    int action = 0;
    int enter = 0;
    int ex = 0;
};

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

    static void count(Knopf& k, Raised& raised)
    {
        k.Action = [&raised] { ++raised.action; };
        k.enter = [&raised] { ++raised.enter; };
        k.ex = [&raised] { ++raised.ex; };
    }

    platform::Window window;
    int made = 0;
};

// --- the body

TEST_F(KnopfTest, SquareBodyHasAOnePixelBlackFrameCornersIncluded)
{
    const Surface s = grab(knopf(30, 60, 0));
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 30; ++x) {
            const bool frame = x == 0 || x == 29 || y == 0 || y == 59;
            EXPECT_EQ(s.at(x, y) == kSchwarz, frame) << x << "," << y;
        }
    }
}

TEST_F(KnopfTest, RoundCornersShowTheWindowColourOutsideABlackArc)
{
    const Knopf& k = knopf(100, 40, 10);
    const Surface s = grab(k);
    const int corners[4][4] = { { 0, 0, 1, 1 }, { 99, 0, -1, 1 }, { 0, 39, 1, -1 }, { 99, 39, -1, -1 } };
    for (const auto& [x, y, dx, dy] : corners) {
        SCOPED_TRACE(testing::Message() << "corner " << x << "," << y);
        EXPECT_EQ(s.at(x, y), kFensterFarbe);
        EXPECT_EQ(s.at(x + dx, y), kFensterFarbe);
        EXPECT_EQ(s.at(x, y + dy), kFensterFarbe);
        // Opaque: the window's own backdrop must not show through.
        EXPECT_EQ(k.alpha(x, y), 255);
    }
    // The outline parts body and window colour everywhere, on the arcs too.
    int onArcs = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool body = s.at(x, y) != kFensterFarbe;
            const bool byWindow = (x > 0 && s.at(x - 1, y) == kFensterFarbe)
                || (x < 99 && s.at(x + 1, y) == kFensterFarbe) || (y > 0 && s.at(x, y - 1) == kFensterFarbe)
                || (y < 39 && s.at(x, y + 1) == kFensterFarbe);
            if (body && byWindow) {
                EXPECT_EQ(s.at(x, y), kSchwarz) << x << "," << y;
                onArcs += x > 0 && x < 99 && y > 0 && y < 39;
            }
        }
    }
    EXPECT_GT(onArcs, 0);
    EXPECT_EQ(s.at(50, 0), kSchwarz);
    EXPECT_EQ(s.at(50, 39), kSchwarz);
    EXPECT_EQ(s.at(0, 20), kSchwarz);
    EXPECT_EQ(s.at(99, 20), kSchwarz);
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

TEST_F(KnopfTest, BothEndFlagsSetDrawExactlyLikeNeither)
{
    Knopf& weder = knopf(100, 40, 10, "NEU");
    Knopf& beide = knopf(100, 40, 10, "NEU");
    beide.links = true;
    beide.rechts = true;
    beide.refresh();
    EXPECT_EQ(grab(beide), grab(weder));
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
            // The mask pixels the stretch may have sampled for (x, y), one
            // more on each side for the smoothing filter.
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
                const double atLo = farbe + (255 - farbe) * lo / 255.0;
                const double atHi = farbe + (255 - farbe) * hi / 255.0;
                EXPECT_GE(got, atLo - 2) << x << "," << y << " shift " << shift;
                EXPECT_LE(got, atHi + 2) << x << "," << y << " shift " << shift;
            }
        }
    }
    EXPECT_GT(checked, (W - 2) * (H - 2) / 4);
}

// --- the caption and the icon

TEST_F(KnopfTest, HaloCopiesTheGlyphToSixNeighboursButNotTheRisingDiagonal)
{
    // A white body shows every touched pixel, however faint.
    Knopf& k = knopf(40, 40, 0);
    k.Farbe = 0xFFFFFF;
    k.Textfarbe = kSchwarz;
    k.Text = "";
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
    constexpr std::pair<int, int> kSixNeighbours[]
        = { { -1, 0 }, { -1, -1 }, { 0, -1 }, { 1, 1 }, { 0, 1 }, { 1, 0 } };
    auto expected = glyph;
    for (const auto& [x, y] : glyph) {
        for (const auto& [dx, dy] : kSixNeighbours) {
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
    auto inked = [&s](int x) {
        for (int y = 0; y < s.h; ++y) {
            if (s.at(x, y) == kBlau) {
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(inked(0));
    EXPECT_TRUE(inked(29));
    EXPECT_FALSE(inked(15));
}

TEST_F(KnopfTest, CaptionSizeFollowsSizeWithZeroForTheDefault)
{
    Knopf& k = knopf(60, 60, 0, "\u2588");
    k.Textschatten = false;
    k.Textfarbe = kBlau;
    auto inkHeight = [&k](int size) {
        k.Size = size;
        k.refresh();
        const Surface s = grab(k);
        int rows = 0;
        for (int y = 0; y < s.h; ++y) {
            bool inked = false;
            for (int x = 0; x < s.w; ++x) {
                inked = inked || s.at(x, y) == kBlau;
            }
            rows += inked;
        }
        return rows;
    };
    const int big = inkHeight(24);
    const int standard = inkHeight(0);
    const int small = inkHeight(12);
    EXPECT_GT(standard, 0);
    EXPECT_LT(standard, big);
    EXPECT_LT(small + 8, big);
}

TEST_F(KnopfTest, EmptyCaptionLeavesTheBareBody)
{
    Knopf& k = knopf(100, 40, 10);
    const auto body = k.hintergrund();
    EXPECT_EQ(grab(k), grab(*body, 100, 40));
}

TEST_F(KnopfTest, IconIsTheBackdropCentredAndOnlyInTheRestingLook)
{
    Knopf& k = knopf(30, 60, 0, "0");
    auto bild = std::shared_ptr<platform::Picture>(platform::Picture::NewPicture(10, 10));
    bild->graphics().setForeColor(kBlau);
    bild->graphics().fillRect(0, 0, 10, 10);
    k.setBackdrop(bild);
    const Surface s = grab(k);
    EXPECT_EQ(k.icon.get(), bild.get());
    for (int y = 24; y <= 35; ++y) {
        for (int x = 9; x <= 20; ++x) {
            const bool inside = x >= 10 && x < 20 && y >= 25 && y < 35;
            EXPECT_EQ(s.at(x, y) == kBlau, inside) << x << "," << y;
        }
    }

    (void)k.MouseDown(15, 30);
    EXPECT_FALSE(grab(k).has(kBlau));
    k.MouseUp(15, 30);
    EXPECT_FALSE(grab(k).has(kBlau));

    // Without a backdrop, an icon kept from before is not drawn.
    k.icon = bild;
    k.setBackdrop(nullptr);
    EXPECT_FALSE(grab(k).has(kBlau));
}

// --- the looks and events

TEST_F(KnopfTest, HoverRedrawsOnlyTheCaptionInGreenThenRaisesEnter)
{
    Knopf& k = knopf(100, 40, 10, "NEU");
    Raised raised;
    count(k, raised);
    const Surface resting = grab(k);
    const auto caption = differing(grab(*k.hintergrund(), 100, 40), resting);
    ASSERT_FALSE(caption.empty());
    bool greenWhenRaised = false;
    k.enter = [&] {
        ++raised.enter;
        greenWhenRaised = grab(k).has(Knopf::kHoverText);
    };

    k.MouseEnter();

    EXPECT_TRUE(greenWhenRaised);
    for (const auto& [x, y] : differing(resting, grab(k))) {
        EXPECT_TRUE(caption.contains({ x, y })) << x << "," << y;
    }
    EXPECT_EQ(raised.enter, 1);
    EXPECT_EQ(raised.action + raised.ex, 0);

    // Over the pressed look, too, only the caption changes.
    (void)k.MouseDown(50, 20);
    k.MouseEnter();
    EXPECT_EQ(k.pixel(5, 20), kSchwarz);
}

TEST_F(KnopfTest, PressShowsABlackBodyWithARedCaptionAndRaisesNothing)
{
    Knopf& k = knopf(100, 40, 10, "NEU");
    Raised raised;
    count(k, raised);

    EXPECT_TRUE(k.MouseDown(50, 20));

    const Surface s = grab(k);
    EXPECT_EQ(s.at(5, 20), kSchwarz);
    EXPECT_EQ(s.at(95, 20), kSchwarz);
    EXPECT_EQ(s.at(0, 0), kFensterFarbe); // outside the shape: as before
    EXPECT_TRUE(s.has(Knopf::kPressedText));
    EXPECT_EQ(raised.action + raised.enter + raised.ex, 0);
}

TEST_F(KnopfTest, ReleaseAnywhereRaisesActionWithTheReleasedLookAlreadyDrawn)
{
    Knopf& k = knopf(100, 40, 10, "NEU");
    const Surface resting = grab(k);
    int actions = 0;
    Surface whenRaised;
    k.Action = [&] {
        ++actions;
        whenRaised = grab(k);
    };

    (void)k.MouseDown(50, 20);
    k.MouseUp(-300, 500); // released far outside the button

    ASSERT_EQ(actions, 1);
    EXPECT_EQ(whenRaised.at(5, 20), resting.at(5, 20)); // a fresh body
    EXPECT_TRUE(whenRaised.has(Knopf::kHoverText));
    EXPECT_FALSE(whenRaised.has(Knopf::kPressedText));
}

TEST_F(KnopfTest, ExitRepaintsTheRestingLookThenRaisesOnlyEx)
{
    Knopf& k = knopf(100, 40, 10, "NEU");
    const Surface resting = grab(k);
    Raised raised;
    count(k, raised);
    k.MouseEnter();
    (void)k.MouseDown(50, 20);
    raised = {};
    bool restingWhenRaised = false;
    k.ex = [&] {
        ++raised.ex;
        restingWhenRaised = grab(k) == resting;
    };

    k.MouseExit();

    EXPECT_TRUE(restingWhenRaised);
    EXPECT_EQ(raised.ex, 1);
    EXPECT_EQ(raised.action + raised.enter, 0);
}

TEST_F(KnopfTest, PointerReleasedOffTheButtonStillRaisesAction)
{
    // Through Qt's own mouse delivery: the press's grab brings the release
    // to the button although the pointer has left it.
    window.setFixedSize(400, 300);
    Knopf& k = knopf(100, 40, 10, "NEU");
    k.setBounds(50, 50, 100, 40);
    int actions = 0;
    k.Action = [&actions] { ++actions; };
    window.show();
    QWindow* handle = window.widget().windowHandle();
    ASSERT_NE(handle, nullptr);
    auto send = [handle](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, handle->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(handle, &event);
    };

    send(QEvent::MouseButtonPress, { 100, 70 }, Qt::LeftButton);
    EXPECT_EQ(k.pixel(5, 20), kSchwarz);
    send(QEvent::MouseMove, { 350, 250 }, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, { 350, 250 }, Qt::NoButton);

    EXPECT_EQ(actions, 1);
    EXPECT_NE(k.pixel(5, 20), kSchwarz);
}
