// A private X server (Xvfb) on a display it picks itself, for as long as the
// object lives: what the end-to-end tests and the sound measurement run the
// game on.
#pragma once

#include "child_process.h"

#include <string>

namespace xdrive {

class XServer {
public:
    // Xvfb when it is not on PATH, as one line; else empty.
    [[nodiscard]] static std::string missing();

    // Starts the server with one screen of width x height at 24 bits and waits
    // up to timeoutMs until it accepts connections. False when it does not;
    // error() says why.
    [[nodiscard]] bool start(int width, int height, int timeoutMs = 10'000);
    // ":N", once started.
    [[nodiscard]] const std::string& display() const { return display_; }
    [[nodiscard]] const std::string& error() const { return error_; }
    void stop() { process_.stop(); }

private:
    ChildProcess process_;
    std::string display_;
    std::string error_;
};

} // namespace xdrive
