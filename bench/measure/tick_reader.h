// The tick probe's reports (see tick_probe.cpp), read from its pipe, and the
// tick rate between two moments worked out from them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace measure {

struct TickReport {
    std::int64_t ticks = 0; // delivered since the timer was made
    std::int64_t ranNs = 0; // time the timer ran, waiting balls left out
    std::int64_t atNs = 0; // CLOCK_MONOTONIC
};

struct TickRate {
    double ticksPerSecond = 0;
    double ranSeconds = 0; // how much running time it rests on
};

class TickReader {
public:
    // fd: the pipe's reading end, non-blocking; -1 when only fed by hand.
    explicit TickReader(int fd = -1)
        : fd_(fd)
    {
    }

    // Takes in what the pipe holds now.
    void read();
    // Takes in text as it came from the pipe; a line may be split anywhere.
    void feed(std::string_view text);

    [[nodiscard]] const std::vector<TickReport>& reports() const { return reports_; }

    // Ticks per second of running time between the first report at or after
    // fromMs and the last at or before toMs (monotonic milliseconds). Nothing
    // when that leaves no running time to divide by.
    [[nodiscard]] std::optional<TickRate> rate(double fromMs, double toMs) const;

private:
    int fd_ = -1;
    std::string partial_;
    std::vector<TickReport> reports_;
};

} // namespace measure
