// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What was drawn reaches the screen whole, in few repaints, on deadlines
// that keep the display's pace.
#include "platform/canvas.h"
#include "platform/frame_pacer.h"
#include "platform/widgets.h"
#include "platform/window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Counts the repaints of one widget and keeps what the first one showed.
class PaintCounter : public QObject {
public:
    int paints = 0;
    QRegion first;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && paints++ == 0) {
            first = static_cast<QPaintEvent*>(event)->region();
        }
        return QObject::eventFilter(watched, event);
    }
};

void runEvents(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

} // namespace

TEST(Screen, DrawingReachesTheScreenWholeInFewRepaintsOnDeadlinesThatKeepTheirGrid)
{
    platform::Window window;
    auto& canvas = window.add<platform::Canvas>("feld", platform::kNoIndex);
    canvas.setBounds(0, 0, 100, 100);
    window.show();
    QWidget& widget = static_cast<QWidget&>(canvas.widget());
    PaintCounter counter;
    widget.installEventFilter(&counter);
    runEvents(100);

    // One handler wipes the paddle and draws it elsewhere: the first frame
    // after a rest shows both, never a board without its paddle.
    counter.paints = 0;
    canvas.graphics().fillRect(0, 80, 10, 10);
    canvas.graphics().fillRect(80, 80, 10, 10);
    for (int i = 0; i < 20 && counter.paints == 0; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(counter.first.contains(QRect(80, 80, 10, 10)))
        << "a frame showed half of a handler's drawing";

    counter.paints = 0;
    for (int i = 0; i < 40; ++i) { // a burst of ticks, each drawing twice
        canvas.graphics().setForeColor(0x000001u * static_cast<unsigned>(i));
        canvas.graphics().fillRect(i, i, 10, 10);
        canvas.graphics().fillRect(50, i, 10, 10);
        QCoreApplication::processEvents();
    }
    const int duringBurst = counter.paints;
    runEvents(200); // within a few frames the last drawing is on the screen
    EXPECT_LE(duringBurst, 20) << "every drawing was its own repaint";
    EXPECT_GT(counter.paints, duringBurst) << "the last drawings never reached the screen";
    widget.removeEventFilter(&counter);

    // Where no vertical blank is told of, the deadlines keep their grid
    // through late wake-ups and skip whole missed frames.
    using platform::detail::nextDeadline;
    const platform::detail::FrameClock::time_point last {};
    const std::chrono::nanoseconds period = 16'666'667ns;
    EXPECT_EQ(nextDeadline(last, last + 900us, period), last + period) << "counted from the wake-up";
    EXPECT_EQ(nextDeadline(last, last + period, period), last + 2 * period);
    EXPECT_EQ(nextDeadline(last, last + 3 * period + 1ms, period), last + 4 * period);
}
