#include "platform/frame_pacer.h"

#include "platform/widgets.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace platform::detail {

namespace {

constexpr int kMaxRects = 16;

std::chrono::nanoseconds framePeriod()
{
    double hertz = 60.0;
    if (QScreen* screen = QGuiApplication::primaryScreen();
        screen != nullptr && screen->refreshRate() > 1.0) {
        hertz = std::clamp(screen->refreshRate(), 30.0, 240.0);
    }
    return std::chrono::nanoseconds(static_cast<long long>(1e9 / hertz));
}

} // namespace

FramePacer& FramePacer::instance()
{
    static FramePacer* pacer = new FramePacer; // lives as long as the application
    return *pacer;
}

FramePacer::FramePacer()
    : period_(framePeriod())
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] { flush(); });
}

void FramePacer::schedule(ControlWidget* widget, const QRect& area)
{
    auto entry = std::find_if(
        pending_.begin(), pending_.end(), [widget](const auto& e) { return e.first == widget; });
    if (entry == pending_.end()) {
        pending_.emplace_back(widget, QRegion(area));
    } else {
        entry->second += area;
        // A long wait between frames (a busy machine) must not pile up a
        // region of thousands of small rectangles: past a few, one rectangle
        // around them all is cheaper to keep and to paint.
        if (entry->second.rectCount() > kMaxRects) {
            entry->second = entry->second.boundingRect();
        }
    }
    if (timer_.isActive()) {
        return;
    }
    const auto since = std::chrono::steady_clock::now() - lastFlush_;
    if (since >= period_) {
        flush();
    } else {
        timer_.start(std::chrono::duration_cast<std::chrono::milliseconds>(period_ - since)
            + std::chrono::milliseconds(1));
    }
}

void FramePacer::forget(ControlWidget* widget)
{
    std::erase_if(pending_, [widget](const auto& e) { return e.first == widget; });
}

void FramePacer::flush()
{
    timer_.stop();
    lastFlush_ = std::chrono::steady_clock::now();
    for (auto& [widget, region] : pending_) {
        widget->update(region);
    }
    pending_.clear();
}

} // namespace platform::detail
