// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/timer.h"

#include "platform/timer_driver.h"

#include <chrono>

namespace platform {

namespace detail {

TimerDriver::TimerDriver(Timer& timer)
{
    qtimer_.setTimerType(Qt::PreciseTimer);
    connect(&qtimer_, &QTimer::timeout, this, [&timer] { timer.wakeUp(); });
}

void TimerDriver::start(int periodMs)
{
    qtimer_.start(periodMs);
}
void TimerDriver::stop()
{
    qtimer_.stop();
}

} // namespace detail

namespace {
std::int64_t steadyNow()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

Timer::Timer(Window& window, std::string name, std::int32_t index)
    : Control(window, std::move(name), index)
    , driver_(std::make_unique<detail::TimerDriver>(*this))
{
}

Timer::~Timer() = default;

std::int64_t Timer::now() const
{
    return clock_ ? clock_() : steadyNow();
}

void Timer::setClock(Clock clock)
{
    clock_ = std::move(clock);
}

void Timer::setMode(int mode)
{
    mode_ = mode;
    if (mode_ == 0) {
        setEnabled(false);
    }
}

void Timer::setPeriod(int milliseconds)
{
    periodMs_ = milliseconds;
    if (enabled_) {
        originNs_ = now();
        scheduled_ = 0;
        driver_->start(periodMs_);
    }
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    if (enabled_) {
        originNs_ = now();
        scheduled_ = 0;
        driver_->start(periodMs_);
    } else {
        driver_->stop();
    }
}

void Timer::Action()
{
    if (onAction) {
        onAction();
    }
}

void Timer::wakeUp()
{
    if (delivering_ || !enabled_ || mode_ == 0) {
        return; // ticks never nest
    }
    const std::int64_t periodNs = static_cast<std::int64_t>(periodMs_) * 1'000'000;
    const std::int64_t due = (now() - originNs_) / periodNs;
    // Missed ticks beyond the burst limit are dropped, not owed.
    const std::int64_t maxBurst = std::max<std::int64_t>(1, kMaxBurstNs / periodNs);
    if (due - scheduled_ > maxBurst) {
        scheduled_ = due - maxBurst;
    }
    delivering_ = true;
    while (enabled_ && scheduled_ < due) {
        ++scheduled_;
        ++ticksDelivered_;
        if (mode_ == 1) {
            setEnabled(false);
        }
        dispatch("Action", [this] { Action(); });
    }
    delivering_ = false;
}

} // namespace platform
