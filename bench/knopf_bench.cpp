// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The cost of one resting paint of a button: the body built afresh (two
// pictures and the stretched mask), the caption with its halo, the icon check.
#include "platform/window.h"
#include "ui/knopf/knopf.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

void paintResting(benchmark::State& state, int w, int h, int radius, const std::string& text)
{
    platform::Window window;
    window.setBackColor(0xFFCC99);
    auto& k = window.add<Knopf>("k", platform::kNoIndex);
    k.Farbe = 0x663300;
    k.Radius = radius;
    k.Text = text;
    k.Textfarbe = 0xFFFFFF;
    k.Bold = true;
    k.Textschatten = true;
    k.Size = 24;
    k.setBounds(0, 0, w, h);
    for (auto _ : state) {
        k.refresh();
        benchmark::DoNotOptimize(k.pixel(w / 2, h / 2));
    }
}

// neu: 100 x 40, rounded.
void BM_KnopfPaintNeu(benchmark::State& state)
{
    paintResting(state, 100, 40, 10, "NEU");
}
// A score digit: 30 x 60, square.
void BM_KnopfPaintZahl(benchmark::State& state)
{
    paintResting(state, 30, 60, 0, "7");
}

} // namespace

BENCHMARK(BM_KnopfPaintNeu)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_KnopfPaintZahl)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
