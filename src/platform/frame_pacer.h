// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Inside the platform: screen updates at the display's pace.
#pragma once

#include <QObject>
#include <QRegion>
#include <QTimer>

#include <chrono>
#include <memory>
#include <utility>
#include <vector>

class QWidget;

namespace platform::detail {

class ControlWidget;
class VerticalBlank;

using FrameClock = std::chrono::steady_clock;

// The first deadline after `now` on the grid through `last` with steps of
// `period`. Counted from the last deadline, not from when the frame went
// out, so the frames keep the display's pace however late each wake-up is;
// a wake-up later than a whole period skips the frames it missed.
[[nodiscard]] constexpr FrameClock::time_point nextDeadline(
    FrameClock::time_point last, FrameClock::time_point now, std::chrono::nanoseconds period)
{
    const auto stepsPassed = now >= last ? (now - last) / period : 0;
    return last + (stepsPassed + 1) * period;
}

// Drawing on a surface shows on screen with the display's next refresh. The
// timer draws 250 times a second, a screen shows 60 or so frames: whatever
// was drawn goes out as one frame right after each vertical blank (which the
// X server tells of through its Present extension), or, where nobody tells
// of them, at deadlines one refresh period apart. The first drawing after a
// rest goes out at once, once the event that drew it is handled, so the
// paddle answers the pointer without waiting for a blank. With nothing
// drawn, nothing wakes up.
class FramePacer : public QObject {
    Q_OBJECT
public:
    static FramePacer& instance();

    void schedule(ControlWidget* widget, const QRect& area);
    void forget(ControlWidget* widget);
    // Hands every pending change to the next repaint now: a window about to
    // be painted for the first time shows them all in that one frame.
    void flush();

private:
    FramePacer();
    ~FramePacer() override;

    void firstFrame();
    // A refresh is due: what was drawn goes to the screen, or, when nothing
    // was, the pacer rests.
    void frameDue();
    void waitForRefresh(const QWidget& window);

    QTimer timer_; // the next deadline; with Present, a refresh that never came
    std::vector<std::pair<ControlWidget*, QRegion>> pending_;
    std::unique_ptr<VerticalBlank> blank_;
    bool awake_ = false; // a frame is on its way
    FrameClock::time_point deadline_ {};
    std::chrono::nanoseconds period_;
};

} // namespace platform::detail
