// Screen updates counted from the server times of the drawing on a window.
// One update of the game's window reaches the X server as a few rectangles
// (the ball's old and new place, the paddle) within a fraction of a
// millisecond; drawing that comes kGapMs or more after the last is a new
// update. The game draws at most every 4 ms, so no two updates merge.
#pragma once

#include <cstdint>

namespace measure {

class UpdateCounter {
public:
    static constexpr std::uint32_t kGapMs = 2;

    // Drawing reached the server at this time (X server milliseconds, which
    // wrap around at 2^32).
    void drawn(std::uint32_t serverMs)
    {
        if (count_ == 0 || static_cast<std::uint32_t>(serverMs - lastMs_) >= kGapMs) {
            ++count_;
        }
        lastMs_ = serverMs;
    }

    [[nodiscard]] std::int64_t count() const { return count_; }

private:
    std::int64_t count_ = 0;
    std::uint32_t lastMs_ = 0;
};

} // namespace measure
