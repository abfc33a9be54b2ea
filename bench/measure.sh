#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The whole game measured as a player runs it: each run starts the empty Qt
# window and then the game on a private X server (bench/measure/zindra_measure)
# and plays it; the medians go into a Markdown table, also written to
# out/bench-table.md. BUILD (default build) is the build directory, RUNS
# (default 5) the runs each figure is the median of; MEASURE_SCALE (default 1)
# shortens every stage for a quick look (0.2: a fifth). About four minutes.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${BUILD:-build}
runs=${RUNS:-5}
say() { echo "measure: $*" >&2; }

[[ -f $build/build.ninja ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target zindra zindra_measure zindra_probe zindra_empty_window >/dev/null ||
    { say "the measurement did not build (run scripts/install-deps)"; exit 1; }
driver=$build/bench/measure/zindra_measure
work=$(mktemp -d "${TMPDIR:-/tmp}/zindra-measure.XXXXXX")
trap 'rm -rf "$work"' EXIT

load_before=$(cut -d' ' -f1 /proc/loadavg)
for run in $(seq "$runs"); do
    # The yardstick first, then the game, in every run: both see the same machine.
    say "run $run of $runs: the empty window, the game, its tick rate"
    "$driver" start "$build/bench/measure/zindra_empty_window" >"$work/empty-$run"
    "$driver" session "$build/src/zindra" >"$work/session-$run"
    "$driver" ticks "$build/bench/measure/zindra_probe" >"$work/ticks-$run"
done

# One figure over the runs of a kind, sorted.
values() { cat "$work/$1"-* | sed -n "s/^$2=//p" | sort -g; }
median() { values "$1" "$2" | awk '{ v[NR] = $1 } END { print NR ? (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) : "nan" }'; }
# The median with the lowest and highest run: spread KIND NAME DECIMALS.
spread() { printf "%.${3}f (%.${3}f–%.${3}f)" "$(median "$1" "$2")" "$(values "$1" "$2" | head -1)" "$(values "$1" "$2" | tail -1)"; }
ratio() { awk -v a="$(median session "$1")" -v b="$(median empty "$1")" 'BEGIN { printf "%.2f×", a / b }'; }
over() { awk -v a="$(median session "$1")" -v b="$(median empty rss_start_mb)" 'BEGIN { printf "%+.1f MB", a - b }'; }

mkdir -p out
tee out/bench-table.md <<EOF
## Zindra measured ($(date '+%Y-%m-%d %H:%M'))

Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1), Linux $(uname -r),
load average $load_before before the runs. Xvfb 1280x1024x24, Qt on xcb. Each figure is the
median of $runs runs (lowest–highest in brackets); \`RUNS=$runs${MEASURE_SCALE:+ MEASURE_SCALE=$MEASURE_SCALE} bash bench/measure.sh\`.

| figure | measured (median) | empty Qt window | Zindra against it | target |
|---|---|---|---|---|
| start to window mapped (ms) | $(spread session start_to_map_ms 1) | $(spread empty start_to_map_ms 1) | $(ratio start_to_map_ms) | ≤ 1.2× |
| start to first drawing (ms) | $(spread session start_to_frame_ms 1) | $(spread empty start_to_frame_ms 1) | $(ratio start_to_frame_ms) | |
| start to first complete frame (ms) | $(spread session start_to_complete_ms 1) | $(spread empty start_to_complete_ms 1) | $(ratio start_to_complete_ms) | ≤ 1.3× |
| resident memory after start (MB) | $(spread session rss_start_mb 1) | $(spread empty rss_start_mb 1) | $(over rss_start_mb) | ≤ +12 MB |
| resident memory after 20 s of play (MB) | $(spread session rss_play_mb 1) | | $(over rss_play_mb) | ≤ +14 MB |
| CPU while playing, 15 s (% of one core) | $(spread session cpu_play_pct 2) | | | ≤ 3 |
| CPU with the window open and no game, 15 s (% of one core) | $(spread session cpu_idle_pct 2) | | | ≤ 0.5 |
| screen updates while playing (per s) | $(spread session updates_play_per_s 1) | | | 60 ± 0.5, Xvfb's refresh |
| intervals between them: median / 1st / 99th percentile (ms) | $(printf "%.1f / %.1f / %.1f" "$(median session frame_median_ms)" "$(median session frame_p1_ms)" "$(median session frame_p99_ms)") | | | 16.7 |
| intervals more than 2 ms off one refresh, 16.7 ms (%) | $(spread session frames_off_pct 1) | | | ≤ 1 |
| updates one vertical blank after the last (%) | $(spread session frames_in_step_pct 1) | | | ≥ 99 |
| pointer to paddle on screen, ball waiting (ms) | $(spread session pointer_to_paddle_ms 1) | | | ≤ 16.7, one refresh |
| ticks while playing, machine quiet (per s) | $(spread ticks ticks_quiet_per_s 2) | | | 250 ± 1 |
| ticks while playing, both cores busy (per s) | $(spread ticks ticks_loaded_per_s 2) | | | 250 ± 1 |

Screen updates meanwhile: $(median ticks updates_quiet_per_s) quiet, $(median ticks updates_loaded_per_s) busy (per s);
the game's CPU while busy: $(median ticks cpu_loaded_pct) % of one core. A median run played
$(median session launches) launches and $(median session new_games) new games. What each figure means: bench/README.md.
EOF
