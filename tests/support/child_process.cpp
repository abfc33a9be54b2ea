#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <sstream>
#include <thread>

namespace support {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

bool onPath(const std::string& program)
{
    std::istringstream path(std::getenv("PATH") != nullptr ? std::getenv("PATH") : "");
    for (std::string dir; std::getline(path, dir, ':');) {
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

namespace {

// The children's pids where a signal handler can reach them: slots are
// claimed by start and freed by stop.
constexpr int kMaxChildren = 16;
volatile std::sig_atomic_t children[kMaxChildren] = {};

void remember(pid_t pid)
{
    for (auto& slot : children) {
        if (slot == 0) {
            slot = pid;
            return;
        }
    }
}

void forget(pid_t pid)
{
    for (auto& slot : children) {
        if (slot == pid) {
            slot = 0;
        }
    }
}

void killChildrenAndEnd(int)
{
    for (const auto& slot : children) {
        if (slot != 0) {
            kill(slot, SIGKILL);
        }
    }
    _exit(130);
}

// Forks with SIGINT and SIGTERM held back until each side is ready: the child
// first drops the parent's handler, which would kill the parent's other
// children, and arranges to die with the parent even when that is killed; the
// parent first notes the child, so that its handler finds it. Returns what
// fork returns.
pid_t forkChild()
{
    sigset_t stops;
    sigset_t before;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigprocmask(SIG_BLOCK, &stops, &before);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGINT, SIG_DFL); // also undoes a shell's ignoring it in a background job
        signal(SIGTERM, SIG_DFL);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127); // the parent is already gone
        }
    } else if (pid > 0) {
        remember(pid);
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
    return pid;
}

} // namespace

void endWithChildrenOnSignal()
{
    struct sigaction action { };
    action.sa_handler = killChildrenAndEnd;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

ChildProcess::~ChildProcess()
{
    stop();
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
    const pid_t pid = forkChild();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
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
            if (entry.find('=') == std::string::npos) {
                unsetenv(entry.c_str());
            } else {
                putenv(const_cast<char*>(entry.c_str()));
            }
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    pid_ = pid;
    return true;
}

bool ChildProcess::startBusyLoop()
{
    const pid_t pid = forkChild();
    if (pid < 0) {
        return false;
    }
    if (pid == 0) {
        volatile unsigned long spin = 0;
        for (;;) {
            spin = spin + 1;
        }
    }
    pid_ = pid;
    return true;
}

bool ChildProcess::running()
{
    if (pid_ <= 0) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        if (WIFEXITED(status)) {
            exitStatus_ = WEXITSTATUS(status);
        }
        forget(pid_);
        pid_ = -1;
        return false;
    }
    return true;
}

void ChildProcess::stop()
{
    if (!running()) {
        return;
    }
    ::kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) { // up to 2 s to end on its own
        if (!running()) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill();
}

void ChildProcess::kill()
{
    if (pid_ <= 0) {
        return;
    }
    ::kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    forget(pid_);
    pid_ = -1;
}

BusyLoad::BusyLoad(int processes)
    : hogs_(static_cast<std::size_t>(processes))
{
    for (auto& hog : hogs_) {
        hog.startBusyLoop();
    }
}

std::vector<pid_t> BusyLoad::pids() const
{
    std::vector<pid_t> running;
    for (const auto& hog : hogs_) {
        if (hog.pid() > 0) {
            running.push_back(hog.pid());
        }
    }
    return running;
}

} // namespace support
