// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Many games in a row by a robot that follows the ball, not quite well enough:
// balls are lost, games end and new ones start. At the end of every game the
// memory the game owns is read: the bytes allocated and not freed, and the
// anonymous pages held once the allocator has handed back what is free.
// After the first game neither may grow. Resident memory is no judge: it
// comes and goes with the art's and the libraries' file pages and with free
// heap the allocator keeps for later, without any leak.
//
// ZINDRA_SOAK_TICKS sets the length (100000 ticks by default; `make soak`
// plays ten million).
#include "fuzz/opened_game.h"
#include "fuzz/player_input.h"

#include "game/board.h"
#include "platform/globals.h"
#include "ui/knopf/knopf.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/prctl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kDefaultTicks = 100'000;
constexpr std::int64_t kTicksPerFrame = 4; // the posted paints are handled every 16 ms, as on a desktop
constexpr std::int64_t kGiveUpOnGame = 1'000'000; // ticks; a ball that never comes down
// Bytes. Between games the heap in use wanders by up to 200 KB (a paint's
// buffers still alive) and creeps by some 30 KB over 800 games (the
// toolkit's caches filling); the anonymous pages wander by about 150 KB.
constexpr long kAllowedHeapGrowth = 256 * 1024;
constexpr long kAllowedAnonymousGrowth = 1024 * 1024;
constexpr int kAim = 60; // the robot's aim is off by up to this many pixels; the paddle is 100 wide

struct Owned {
    long heap = 0; // allocated and not freed, bytes
    long anonymous = 0; // anonymous pages resident after the allocator's trim, bytes
};

[[nodiscard]] Owned owned()
{
    malloc_trim(0);
    const struct mallinfo2 heap = mallinfo2();
    std::ifstream rollup("/proc/self/smaps_rollup");
    std::string key;
    while (rollup >> key && key != "Anonymous:") { }
    long kb = -1;
    rollup >> kb;
    EXPECT_GE(kb, 0) << "no Anonymous line in /proc/self/smaps_rollup";
    return { static_cast<long>(heap.uordblks + heap.hblkhd), kb * 1024 };
}

// How far the floor of the last three games lies above the first game: a
// leak raises every later figure, a transient only some.
[[nodiscard]] long growth(const std::vector<Owned>& games, long Owned::*figure)
{
    long floor = games.back().*figure;
    for (auto game = games.end() - std::min<std::ptrdiff_t>(3, std::ssize(games) - 1); game != games.end();
         ++game) {
        floor = std::min(floor, (*game).*figure);
    }
    return floor - games.front().*figure;
}

} // namespace

TEST(Soak, MemoryStaysAsTheFirstGameLeftItOverManyGames)
{
    // No huge pages for this process: folding a region into one would add up
    // to 2 MB of anonymous pages that nobody allocated.
    prctl(PR_SET_THP_DISABLE, 1, 0, 0, 0);
    const char* length = std::getenv("ZINDRA_SOAK_TICKS");
    const std::int64_t wanted = length != nullptr ? std::strtoll(length, nullptr, 10) : kDefaultTicks;
    fuzz::OpenedGame game;
    Fenster1& f = game.f();
    fuzz::PlayerInput hands(f);
    std::mt19937 dice(20080101U);
    const auto aim = [&] { return std::uniform_int_distribution<int>(-kAim, kAim)(dice); };
    const int failuresBefore = platform::reportedFailures();

    std::vector<Owned> afterGame;
    std::int64_t ticks = 0;
    std::int64_t gameStarted = 0;
    int offset = 0;
    while (ticks < wanted) {
        if (f.start == 0 || f.start == 3 || ticks - gameStarted > kGiveUpOnGame) {
            if (f.start == 3) {
                afterGame.push_back(owned());
            }
            hands.moveOnto(f.control<Knopf>("neu"));
            hands.click();
            gameStarted = ticks;
        } else if (f.start == 1) {
            hands.moveToWindow(QPoint(20 + std::uniform_int_distribution<int>(0, 599)(dice), 660));
            hands.click();
            offset = aim();
        } else {
            // The robot looks again when the ball turns down toward it.
            if (f.s > 0 && f.bally > 300 && ticks % 8 == 0) {
                hands.moveToWindow(QPoint(20 + f.ballx + board::kBallHalf + offset, 660));
            } else if (f.s < 0) {
                offset = aim();
            }
            ticks += game.wind(fuzz::OpenedGame::kPeriodNs);
            if (ticks % kTicksPerFrame == 0) {
                QCoreApplication::processEvents();
            }
        }
    }

    EXPECT_EQ(platform::reportedFailures(), failuresBefore);
    ASSERT_GE(afterGame.size(), 2U) << "too few games to compare; play longer";
    const auto megabytes = [](long bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); };
    const long heap = growth(afterGame, &Owned::heap);
    const long anonymous = growth(afterGame, &Owned::anonymous);
    std::cout << "soak: " << ticks << " ticks, " << afterGame.size() << " games; after the first game heap "
              << megabytes(afterGame.front().heap) << " MB, anonymous "
              << megabytes(afterGame.front().anonymous) << " MB; later grown by " << megabytes(heap)
              << " and " << megabytes(anonymous) << " MB" << std::endl;
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer keeps freed memory in quarantine: its figures say nothing
    // about the game. The leak check at exit speaks for it.
    std::cout << "soak: under AddressSanitizer; the memory figures are not judged" << std::endl;
#else
    EXPECT_LE(heap, kAllowedHeapGrowth) << "the heap in use grew by " << megabytes(heap) << " MB";
    EXPECT_LE(anonymous, kAllowedAnonymousGrowth)
        << "the anonymous memory grew by " << megabytes(anonymous) << " MB";
#endif
}
