// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The processes a test or a measurement starts: the X and sound servers, the
// game, the busy loops that load the machine. Each dies with its parent,
// however that ends.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace support {

// Monotonic time in milliseconds, the clock the game's note log uses too.
[[nodiscard]] double nowMs();

// Whether program can be started by name: found on PATH.
[[nodiscard]] bool onPath(const std::string& program);

class ChildProcess {
public:
    ChildProcess() = default;
    // Stops the child if it still runs.
    ~ChildProcess() { stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts command (the program, then its arguments) with the current
    // environment changed by `environment` ("NAME=value" sets, "NAME" alone
    // removes); its stdout and stderr go to outputPath. keepFd, when not -1,
    // stays open in the child under the same number. An empty command: a
    // child that only burns CPU until it is stopped.
    bool start(const std::vector<std::string>& command, const std::vector<std::string>& environment = {},
        const std::string& outputPath = "/dev/null", int keepFd = -1);

    [[nodiscard]] pid_t pid() const { return pid_; }
    [[nodiscard]] bool running();
    // Once it has ended: its exit status; nothing when a signal ended it.
    [[nodiscard]] std::optional<int> exitStatus() const { return exitStatus_; }
    // SIGTERM, then SIGKILL if it lingers for 2 s; reaps it.
    void stop();
    // SIGKILL at once, as a crash ends it; reaps it.
    void kill();

private:
    pid_t pid_ = -1;
    std::optional<int> exitStatus_;
};

} // namespace support
