#include "x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>


namespace xdrive {

std::string XServer::missing()
{
    return onPath("Xvfb") ? "" : "not installed: Xvfb";
}

bool XServer::start(int width, int height, int timeoutMs)
{
    // -displayfd: the server picks a free display and writes its number to
    // our end of the pipe once it accepts connections.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        error_ = "no pipe for Xvfb";
        return false;
    }
    const bool started = process_.start({ "Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0",
                                            std::to_string(width) + "x" + std::to_string(height) + "x24",
                                            "-nolisten", "tcp", "-noreset" },
        {}, "/dev/null", pipeFds[1]);
    close(pipeFds[1]);
    const double deadline = nowMs() + timeoutMs;
    std::string named;
    char buffer[16];
    pollfd readable { pipeFds[0], POLLIN, 0 };
    while (started && named.find('\n') == std::string::npos) {
        const int left = static_cast<int>(deadline - nowMs());
        const ssize_t got = left > 0 && poll(&readable, 1, left) > 0 ? read(pipeFds[0], buffer, sizeof buffer) : 0;
        if (got <= 0) {
            break; // the deadline passed, or the server ended
        }
        named.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    if (named.find('\n') == std::string::npos) {
        error_ = started ? "Xvfb named no display" : "Xvfb did not start";
        process_.stop();
        return false;
    }
    display_ = ":" + named.substr(0, named.find('\n'));
    return true;
}

} // namespace xdrive
