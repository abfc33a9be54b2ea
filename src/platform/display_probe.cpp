// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/display_probe.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace platform {

namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

xcb_connection_t* probe = nullptr;

bool xServerAnswers(const char* display)
{
    const std::string name = display != nullptr ? display : environment("DISPLAY");
    if (name.empty()) {
        return false;
    }
    // A connection and its set-up: well under a millisecond on a local server.
    closeDisplayProbe();
    probe = xcb_connect(name.c_str(), nullptr);
    if (xcb_connection_has_error(probe) != 0) {
        closeDisplayProbe();
        return false;
    }
    return true;
}

bool waylandSocketExists()
{
    std::string socket = environment("WAYLAND_DISPLAY");
    if (socket.empty()) {
        socket = "wayland-0"; // where a compositor listens unless told otherwise
    }
    if (socket.front() != '/') {
        const std::string runtimeDirectory = environment("XDG_RUNTIME_DIR");
        if (runtimeDirectory.empty()) {
            return false;
        }
        socket = runtimeDirectory + '/' + socket;
    }
    return access(socket.c_str(), F_OK) == 0;
}

bool reachable(std::string_view platform, const char* display)
{
    platform = platform.substr(0, platform.find(':')); // "xcb:option=..." names xcb
    if (platform == "xcb") {
        return xServerAnswers(display);
    }
    if (platform.starts_with("wayland")) {
        return waylandSocketExists();
    }
    return true;
}

} // namespace

void closeDisplayProbe()
{
    if (probe != nullptr) {
        xcb_disconnect(probe); // also frees a connection that failed
        probe = nullptr;
    }
}

bool displayReachable(const char* platform, const char* display)
{
    std::string chosen = platform != nullptr ? platform : environment("QT_QPA_PLATFORM");
    if (chosen.empty()) {
        chosen = "xcb;wayland";
    }
    // A list is tried in order by Qt: one reachable entry is enough.
    std::string_view rest = chosen;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        if (reachable(rest.substr(0, end), display)) {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

} // namespace platform
