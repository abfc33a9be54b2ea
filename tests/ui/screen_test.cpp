// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What a player sees, pinned: the whole window as it opens and in the middle
// of a game, at one and at two device pixels to the game's pixel, pixel for
// pixel against pictures taken from the game itself (tests/references/).
// A reference keeps what the game shows over its art (the window's wood and
// the board's, whose own pixels are pinned where the art is made) and is
// see-through where the art shows unchanged. When a frame differs, the frame
// drawn and a difference picture (the changed pixels red over the reference
// in faded grey) are left in <build>/tests/screen/, as the failure says.
//
// After a change that is meant to be seen, take the new pictures with
//   ZINDRA_UPDATE_REFERENCES=1 build/tests/ui_tests --gtest_filter='Screen*'
// which names every picture it rewrote and how many pixels changed; look at
// them before committing them.
#include "game/game_fixture.h"
#include "platform/widgets.h"
#include "reference_frame.h"

#include <QDir>

#include <cstdio>

namespace {

class ScreenTest : public GameTest {
protected:
    void SetUp() override { } // each test opens the window at its own scale
    void TearDown() override
    {
        GameTest::TearDown();
        atScale(1);
    }

    // Every surface and picture made from now on at the scale, the art too.
    static void atScale(int scale)
    {
        (void)resources::releaseAll();
        platform::detail::setSurfaceScale(scale);
    }

    void showsTheReferenceFrames(int scale)
    {
        atScale(scale);
        GameTest::SetUp();
        const std::string suffix = "-" + std::to_string(scale) + "x";
        looksLikeReference(shot(scale), "first-frame" + suffix, scale);

        // The pointer over the board shows the paddle; a click on NEU wipes
        // it and lays the stones; the ball, launched at a gap between two
        // stones, rises past them, knocks out the stone above and is falling
        // back across them.
        pointerOverBoardX(112);
        feld().onMouseEnter();
        feld().onMouseMove(112, 600);
        auto& neu = f->control<Knopf>("neu");
        neu.MouseEnter();
        neu.MouseDown(50, 20);
        neu.MouseUp(50, 20);
        neu.MouseExit();
        feld().onMouseMove(112, 600);
        feld().onMouseDown(112, 600);
        for (int tick = 0; tick < 100; ++tick) {
            timer().onAction();
        }
        looksLikeReference(shot(scale), "in-play" + suffix, scale);
    }

    // The whole window as the screen gets it, in device pixels.
    [[nodiscard]] QImage shot(int scale) const
    {
        QImage image(f->widget().size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        f->widget().render(&image);
        image.setDevicePixelRatio(1);
        return image;
    }

    static void looksLikeReference(const QImage& frame, const std::string& name, int scale)
    {
        const QImage art = artBeneathFrames(scale);
        const QImage reference = referenceFrame(name, scale);
        // The changed pixels red over the reference in faded grey; and for a
        // new reference, what the frame shows over the art, see-through elsewhere.
        QImage difference
            = reference.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
        QPainter(&difference).fillRect(difference.rect(), QColor(255, 255, 255, 160));
        QImage over(frame.size(), QImage::Format_ARGB32);
        int changed = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                const QRgb shown = frame.pixel(x, y);
                over.setPixel(x, y, shown == art.pixel(x, y) ? 0 : shown);
                if (shown != reference.pixel(x, y)) {
                    difference.setPixel(x, y, qRgb(255, 0, 0));
                    ++changed;
                }
            }
        }
        const QString path = referencePath(name);
        if (changed > 0 && qEnvironmentVariableIsSet("ZINDRA_UPDATE_REFERENCES")) {
            ASSERT_TRUE(over.save(path, "PNG", 0));
            std::printf("%s: %d pixels changed\n", qPrintable(path), changed);
        } else if (changed > 0) {
            const QString drawn = QDir(ZINDRA_SCREEN_OUT).filePath(QString::fromStdString(name));
            QDir().mkpath(ZINDRA_SCREEN_OUT);
            frame.save(drawn + ".png");
            difference.save(drawn + ".difference.png");
            ADD_FAILURE() << name << ": " << changed << " pixels differ from " << qPrintable(path)
                          << "\n  drawn: " << qPrintable(drawn) << ".png, the difference: .difference.png";
        }
    }
};

TEST_F(ScreenTest, AtScaleOne)
{
    showsTheReferenceFrames(1);
}

TEST_F(ScreenTest, AtScaleTwo)
{
    showsTheReferenceFrames(2);
}

} // namespace
