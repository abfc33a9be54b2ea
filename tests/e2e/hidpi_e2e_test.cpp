// The game on a screen of twice the density (QT_SCALE_FACTOR=2): the window
// twice as large in device pixels, and its pictures drawn from the art made
// for that density, not their plain pixels stretched.
#include "e2e_fixture.h"

#include "platform/application.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <QRect>

#include <algorithm>
#include <cstdlib>

using namespace std::chrono_literals;

namespace {

constexpr int kScale = 2;
// The red stone of the legend (st 0), in the window's own pixels; its
// outermost ring is the game's frame, drawn over the picture.
constexpr QRect kRedStone(684, 71, 100, 30);
constexpr int kRedStoneId = 178;

class GameAtScaleTwo : public GameOnScreen {
protected:
    void SetUp() override
    {
        session.setScreenSize(2000, 1600);
        session.setEnvironment("QT_SCALE_FACTOR=" + std::to_string(kScale));
        start();
    }
    void TearDown() override
    {
        platform::detail::setSurfaceScale(1);
        GameOnScreen::TearDown();
    }
};

} // namespace

TEST_F(GameAtScaleTwo, WindowIsTwiceAsLargeAndAStoneShowsItsFineArt)
{
    const support::Geometry window = session.geometry();
    EXPECT_EQ(window.width, 900 * kScale);
    EXPECT_EQ(window.height, 730 * kScale);

    platform::detail::setSurfaceScale(kScale);
    const auto stone = platform::ResourceFork().GetPicture(kRedStoneId);
    ASSERT_NE(stone, nullptr);
    const QImage art = stone->surface().image.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(art.size(), kRedStone.size() * kScale);

    // Inside the frame, every device pixel is the fine art's, give or take
    // a few steps in a channel.
    const QRect inside = QRect(QPoint(0, 0), art.size()).adjusted(kScale, kScale, -kScale, -kScale);
    int differing = -1;
    EXPECT_TRUE(session.waitFor(
        [&] {
            const QImage shot = session.windowShot();
            differing = shot.isNull() ? -1 : 0;
            for (int y = inside.top(); !shot.isNull() && y <= inside.bottom(); ++y) {
                for (int x = inside.left(); x <= inside.right(); ++x) {
                    const QRgb a = shot.pixel(kRedStone.x() * kScale + x, kRedStone.y() * kScale + y);
                    const QRgb b = art.pixel(x, y);
                    differing += std::max({ std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                     std::abs(qBlue(a) - qBlue(b)) })
                        > 3;
                }
            }
            return differing == 0;
        },
        10'000))
        << differing << " device pixels of the stone are not the art's";
}
