// Inside the platform: screen updates at the display's pace.
#pragma once

#include <QObject>
#include <QRegion>
#include <QTimer>

#include <chrono>
#include <utility>
#include <vector>

namespace platform::detail {

class ControlWidget;

// Drawing on a surface shows on screen within one frame of the display. The
// timer draws 250 times a second; a screen shows 60 or so frames, and every
// repaint in between costs a round trip to the display server for a picture
// nobody sees. The first change after a quiet frame is shown at once.
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

    QTimer timer_;
    std::vector<std::pair<ControlWidget*, QRegion>> pending_;
    std::chrono::steady_clock::time_point lastFlush_ {};
    std::chrono::nanoseconds period_;
};

} // namespace platform::detail
