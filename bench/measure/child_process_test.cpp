// The measurement's children: started with what they need, and stopped one
// by one without harm to the others.
#include "child_process.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using measure::BusyLoad;
using measure::ChildProcess;

class ChildProcessTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::array<char, 32> pattern {};
        std::snprintf(pattern.data(), pattern.size(), "/tmp/child-test.XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern.data();
    }
    void TearDown() override { (void)std::system(("rm -rf " + dir).c_str()); }

    // A program that says what it was given, then waits to be stopped.
    [[nodiscard]] std::string script(const std::string& body) const
    {
        const std::string path = dir + "/child.sh";
        std::ofstream(path) << "#!/bin/sh\n" << body << "\nexec sleep 30\n";
        chmod(path.c_str(), 0755);
        return path;
    }
    [[nodiscard]] std::string read(const std::string& name) const
    {
        std::ostringstream text;
        text << std::ifstream(dir + "/" + name).rdbuf();
        return text.str();
    }

    std::string dir;
};

TEST_F(ChildProcessTest, GetsItsEnvironmentOutputAndTheDescriptorItKeeps)
{
    int fds[2] = { -1, -1 };
    ASSERT_EQ(pipe2(fds, O_CLOEXEC | O_NONBLOCK), 0);
    ChildProcess child;
    ASSERT_TRUE(child.start(script("echo \"said $GREETING\"; echo probe >&$PROBE_FD"),
        { "GREETING=hello", "PROBE_FD=" + std::to_string(fds[1]) }, dir + "/out.log", fds[1]));
    close(fds[1]);

    std::array<char, 16> buffer {};
    ssize_t got = -1;
    for (int i = 0; i < 500 && got <= 0; ++i) { // up to 5 s for the shell to start
        got = ::read(fds[0], buffer.data(), buffer.size());
        usleep(10'000);
    }
    close(fds[0]);
    EXPECT_EQ(std::string(buffer.data(), static_cast<std::size_t>(std::max<ssize_t>(got, 0))), "probe\n");
    EXPECT_EQ(read("out.log"), "said hello\n");
    EXPECT_TRUE(child.running());
    child.stop();
    EXPECT_FALSE(child.running());
}

// A child used to inherit the handler that ends the measurement: stopping a
// busy loop then killed the game started before it.
TEST_F(ChildProcessTest, StoppingOneChildLeavesTheOthersRunning)
{
    measure::endWithChildrenOnSignal();
    ChildProcess game;
    ChildProcess loop;
    ASSERT_TRUE(game.startBusyLoop());
    ASSERT_TRUE(loop.startBusyLoop()); // started later: it knows of the first
    loop.stop();
    usleep(100'000);
    EXPECT_TRUE(game.running());
    game.stop();
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

TEST_F(ChildProcessTest, BusyLoadStartsEveryLoopAndEndsThemWithItself)
{
    std::vector<pid_t> pids;
    {
        const BusyLoad load(2);
        pids = load.pids();
        ASSERT_EQ(pids.size(), 2U);
        for (const pid_t pid : pids) {
            EXPECT_EQ(kill(pid, 0), 0);
        }
    }
    for (const pid_t pid : pids) {
        EXPECT_EQ(kill(pid, 0), -1) << "busy loop " << pid << " outlived its load";
    }
}

TEST_F(ChildProcessTest, AProgramThatCannotStartEndsAtOnce)
{
    ChildProcess missing;
    ASSERT_TRUE(missing.start(dir + "/no-such-program", {}, dir + "/out.log")); // exec fails in the child
    for (int i = 0; i < 200 && missing.running(); ++i) {
        usleep(10'000);
    }
    EXPECT_FALSE(missing.running());
}

} // namespace
