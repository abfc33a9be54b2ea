// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A timer that fires on a fixed schedule measured on a monotonic clock.
//
// Mode 2 fires every Period milliseconds while Enabled. A late wake-up
// delivers the missed ticks back to back, at most 100 ms worth, so that the
// rate holds on average on a busy machine. Ticks never nest, and disabling the
// timer stops delivery at once, also in the middle of such a burst.
#pragma once

#include "platform/control.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

namespace detail {
class TimerDriver;
}

class Timer : public Control {
public:
    // Monotonic time in nanoseconds.
    using Clock = std::function<std::int64_t()>;

    // At most this much of missed ticks is delivered in one wake-up.
    static constexpr std::int64_t kMaxBurstNs = 100'000'000;

    Timer(Window& window, std::string name, std::int32_t index = kNoIndex);
    ~Timer() override;

    // 0 off, 1 single, 2 multiple (the only mode the game uses).
    void setMode(int mode);
    [[nodiscard]] int mode() const { return mode_; }
    // Milliseconds between ticks (1 or more).
    void setPeriod(int milliseconds);
    [[nodiscard]] int period() const { return periodMs_; }
    // Enabling a stopped timer starts its schedule: the first tick is due one
    // period later. Enabling a running one changes nothing.
    void setEnabled(bool enabled);
    [[nodiscard]] bool enabled() const { return enabled_; }

    std::function<void()> onAction;
    virtual void Action();

    // Test seams: the clock the schedule is measured on, and a wake-up that
    // delivers the ticks due by now. The real timer wakes itself with Qt.
    void setClock(Clock clock);
    void wakeUp();
    // Ticks delivered since the timer was created.
    [[nodiscard]] std::int64_t ticksDelivered() const { return ticksDelivered_; }

private:
    [[nodiscard]] std::int64_t now() const;

    int mode_ = 2;
    int periodMs_ = 1000;
    bool enabled_ = false;
    bool delivering_ = false;
    std::int64_t originNs_ = 0; // when the current schedule started
    std::int64_t scheduled_ = 0; // ticks of the current schedule already handed out
    std::int64_t ticksDelivered_ = 0;
    Clock clock_;
    std::unique_ptr<detail::TimerDriver> driver_;
};

} // namespace platform
