// Timer1 watched from inside the game: how many ticks it delivered, and for
// how long it ran. A ball that waits on the paddle stops the timer; that time
// must not count against the tick rate, so the watch keeps the time between
// a launch (the board's press that enables the timer) and the tick that
// stops it again (a lost ball, a cleared set).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class Fenster1;

namespace measure {

class TickWatch {
public:
    // Nanoseconds on a monotonic clock.
    using Clock = std::function<std::int64_t()>;

    struct Report {
        std::int64_t ticks = 0; // delivered since the timer was made
        std::int64_t ranNs = 0; // the timer's running time so far
        std::int64_t atNs = 0;
        bool running = false;
    };

    // The default clock is CLOCK_MONOTONIC, the one the measurement reads.
    explicit TickWatch(Clock clock = {});

    // Wraps the board's press and the timer's tick handlers of the window.
    void hook(Fenster1& window);
    [[nodiscard]] bool hooked() const { return window_ != nullptr; }

    // Where things stand now. A timer stopped outside a tick (a new game, the
    // space bar) ends the run here.
    [[nodiscard]] Report report();

    // One report as a line for the pipe: "ticks <ticks> <ranNs> <atNs> <0|1>\n".
    [[nodiscard]] static std::string line(const Report& report);

private:
    void started();
    void stopped();

    Clock clock_;
    Fenster1* window_ = nullptr;
    bool running_ = false;
    std::int64_t runningSinceNs_ = 0;
    std::int64_t ranNs_ = 0; // closed runs only
};

} // namespace measure
