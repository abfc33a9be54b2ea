// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace support {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool onPath(const std::string& program)
{
    return std::system(("command -v " + program + " >/dev/null").c_str()) == 0;
}

bool ChildProcess::start(const std::vector<std::string>& command, const std::vector<std::string>& environment,
    const std::string& outputPath, int keepFd)
{
    std::vector<char*> argv;
    for (const auto& word : command) {
        argv.push_back(const_cast<char*>(word.c_str())); // the copies are the child's own
    }
    argv.push_back(nullptr);
    exitStatus_.reset();
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ != 0) {
        return pid_ > 0;
    }
    // The child dies with its parent, even when that is killed.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        _exit(127); // the parent is already gone
    }
    if (command.empty()) {
        volatile unsigned long spin = 0;
        for (;;) {
            spin = spin + 1;
        }
    }
    const int out = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        close(out);
    }
    if (keepFd >= 0) {
        fcntl(keepFd, F_SETFD, 0); // no close-on-exec for this one
    }
    for (const auto& entry : environment) {
        entry.find('=') == std::string::npos ? unsetenv(entry.c_str()) : putenv(const_cast<char*>(entry.c_str()));
    }
    execvp(argv[0], argv.data());
    _exit(127);
}

bool ChildProcess::running()
{
    int status = 0;
    if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) {
        return pid_ > 0;
    }
    exitStatus_ = WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt;
    pid_ = -1;
    return false;
}

void ChildProcess::stop()
{
    if (!running()) {
        return;
    }
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 100 && running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill();
}

void ChildProcess::kill()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

} // namespace support
