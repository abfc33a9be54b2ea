// The game as a player first meets it: its window on a real X server and the
// two ways to end it.
#include "e2e_fixture.h"

#include <QRect>

#include <array>
#include <sstream>

using namespace std::chrono_literals;

namespace {

constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 730;
// Where every paint puts the window's top, in screen pixels.
constexpr int kWindowTop = 20;

// Window areas no control covers: the top and bottom bands, the left edge and
// the strip between the board's frame and the side panel.
constexpr std::array kBareAreas {
    QRect(0, 0, kWindowWidth, 7),
    QRect(0, 720, kWindowWidth, 10),
    QRect(0, 0, 10, kWindowHeight),
    QRect(640, 0, 21, kWindowHeight),
};

} // namespace

TEST_F(GameOnScreen, OpensFramelessAtItsFixedSizeCentredAcrossTheScreen)
{
    const support::Geometry window = session.geometry();
    EXPECT_EQ(window.width, kWindowWidth);
    EXPECT_EQ(window.height, kWindowHeight);
    EXPECT_EQ(window.x, (support::GameSession::kScreenWidth - kWindowWidth) / 2);

    const support::SizeHints limits = session.sizeHints();
    EXPECT_EQ(limits.minWidth, kWindowWidth) << "the user could make the window narrower";
    EXPECT_EQ(limits.maxWidth, kWindowWidth) << "the user could make the window wider";
    EXPECT_EQ(limits.minHeight, kWindowHeight);
    EXPECT_EQ(limits.maxHeight, kWindowHeight);

    EXPECT_TRUE(session.asksForNoDecorations()) << "a window manager would give it a title bar";
    EXPECT_TRUE(session.title().starts_with("Zindra          2008")) << session.title();
}

// The content's first pixel lies at the window's origin: no title bar or frame
// pushes the picture down or sideways, and no scaling stretches it.
TEST_F(GameOnScreen, ShowsTheWindowBackgroundWhereNoControlLies)
{
    const auto backdrop = resources::Hintergrund2();
    ASSERT_NE(backdrop, nullptr);
    ASSERT_TRUE(waitForFirstPaint());

    QImage shot;
    std::ostringstream mismatches;
    int count = 0;
    const bool shown = session.waitFor(
        [&] {
            shot = session.windowShot();
            if (shot.isNull()) {
                return false;
            }
            count = 0;
            mismatches.str({});
            for (const QRect& area : kBareAreas) {
                for (int y = area.top(); y <= area.bottom(); ++y) {
                    for (int x = area.left(); x <= area.right(); ++x) {
                        if (!alike(shot.pixel(x, y), backdrop->pixel(x, y)) && ++count <= 5) {
                            mismatches << " (" << x << ", " << y << ") shows " << std::hex
                                       << (shot.pixel(x, y) & 0xFFFFFF) << " for " << backdrop->pixel(x, y)
                                       << std::dec;
                        }
                    }
                }
            }
            return count == 0;
        },
        10'000);
    EXPECT_TRUE(shown) << count << " pixels differ from the window background:" << mismatches.str();
}

TEST_F(GameOnScreen, ClosingTheWindowEndsTheGameWithStatusZero)
{
    ASSERT_TRUE(session.closeWindow()) << session.error();
    const std::optional<int> status = session.waitForExit(10'000);
    ASSERT_TRUE(status.has_value()) << session.error();
    EXPECT_EQ(*status, 0);
}

// The window comes to rest 20 pixels below the screen's top, where its X
// button waits.
TEST_F(GameOnScreen, ComesToRestBelowTheScreenTopWhereTheXButtonEndsTheGameWithStatusZero)
{
    ASSERT_TRUE(session.waitFor([&] { return session.geometry().y == kWindowTop; }, 10'000))
        << "top at " << session.geometry().y;
    EXPECT_EQ(session.geometry().x, (support::GameSession::kScreenWidth - kWindowWidth) / 2);
    ASSERT_TRUE(waitForFirstPaint());
    session.clickQuit();
    const std::optional<int> status = session.waitForExit(10'000);
    ASSERT_TRUE(status.has_value()) << session.error();
    EXPECT_EQ(*status, 0);
}
