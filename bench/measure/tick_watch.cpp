#include "tick_watch.h"

#include "game/fenster1.h"
#include "platform/canvas.h"
#include "platform/timer.h"

#include <chrono>
#include <utility>

namespace measure {

namespace {

[[nodiscard]] std::int64_t monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

[[nodiscard]] platform::Timer& timerOf(Fenster1& window)
{
    return window.control<platform::Timer>("Timer1");
}

} // namespace

TickWatch::TickWatch(Clock clock)
    : clock_(clock ? std::move(clock) : Clock(monotonicNs))
{
}

void TickWatch::started()
{
    running_ = true;
    runningSinceNs_ = clock_();
}

void TickWatch::stopped()
{
    running_ = false;
    ranNs_ += clock_() - runningSinceNs_;
}

void TickWatch::hook(Fenster1& window)
{
    window_ = &window;
    auto& timer = timerOf(window);
    auto& board = window.control<platform::Canvas>("feld");
    board.onMouseDown = [this, &timer, press = std::move(board.onMouseDown)](int x, int y) {
        const bool was = timer.enabled();
        const bool claimed = press ? press(x, y) : false;
        if (!was && timer.enabled()) {
            started();
        }
        return claimed;
    };
    timer.onAction = [this, &timer, tick = std::move(timer.onAction)] {
        if (tick) {
            tick();
        }
        if (running_ && !timer.enabled()) {
            stopped();
        }
    };
}

TickWatch::Report TickWatch::report()
{
    Report now;
    now.atNs = clock_();
    if (window_ == nullptr) {
        return now;
    }
    const auto& timer = timerOf(*window_);
    if (running_ && !timer.enabled()) {
        stopped();
    }
    now.ticks = timer.ticksDelivered();
    now.ranNs = ranNs_ + (running_ ? now.atNs - runningSinceNs_ : 0);
    now.running = running_;
    return now;
}

std::string TickWatch::line(const Report& report)
{
    return "ticks " + std::to_string(report.ticks) + " " + std::to_string(report.ranNs) + " "
        + std::to_string(report.atNs) + " " + (report.running ? "1" : "0") + "\n";
}

} // namespace measure
