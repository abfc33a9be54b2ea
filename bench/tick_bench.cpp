// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The cost of one timer tick in play, drawing included: a game running with a
// paddle that follows the ball, relaunched after every set and every loss.
#include "game/board.h"
#include "game/fenster1.h"
#include "platform/globals.h"
#include "platform/note_player.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

namespace {

// The ticks are measured without a synthesizer behind the notes.
class Silent : public platform::NoteOutput {
public:
    void programChange(int) override { }
    void noteOn(int, int) override { }
    void noteOff(int) override { }
};

void BM_TimerTick(benchmark::State& state)
{
    auto f = std::make_unique<Fenster1>();
    f->control<platform::NotePlayer>("NotePlayer1").setOutput(std::make_shared<Silent>());
    f->show();
    int pointer = 0; // screen x the pointer seam reports
    platform::setMouseXSource([&pointer] { return pointer; });
    const auto pointerOverBoardX = [&](int x) { pointer = f->Left() + 20 + x; };
    const auto launch = [&] {
        if (f->start == 3 || f->start == 0) {
            f->neu_Action();
        }
        pointerOverBoardX(300);
        f->feld_MouseMove(300, 600);
        f->feld_MouseDown(300, 600);
    };
    launch();

    std::uint32_t seed = 12345U;
    for (auto _ : state) {
        if (f->start != 2) {
            state.PauseTiming();
            launch();
            state.ResumeTiming();
        }
        // Land anywhere from 5 to 95 pixels along the paddle.
        seed = seed * 1664525U + 1013904223U;
        const int offset = static_cast<int>((seed >> 16) % 91U) - 45;
        pointerOverBoardX(f->ballx + board::kBallHalf - offset);
        f->Timer1_Action();
    }
    benchmark::DoNotOptimize(f->z);
    platform::setMouseXSource({});
}

} // namespace

BENCHMARK(BM_TimerTick)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
