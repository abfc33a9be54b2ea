#!/usr/bin/env bash
# The whole game measured as a player runs it: a private X server (Xvfb), the
# real binary on it, a driver that plays (bench/measure/zindra_measure) and
# the note latency on the game's own synthesizer. Prints a Markdown table of
# medians and writes it to out/bench-table.md.
#
#   bash bench/measure.sh            (make bench runs it after the micro benchmarks)
#
# BUILD (default build) is the build directory; RUNS (default 5) the number of
# runs each figure is the median of; MEASURE_SCALE (default 1) shortens every
# stage for a quick look (0.2: a fifth). A full run takes about four minutes.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${BUILD:-build}
runs=${RUNS:-5}
command_line="bash bench/measure.sh (BUILD=$build RUNS=$runs${MEASURE_SCALE:+ MEASURE_SCALE=$MEASURE_SCALE})"

say() { echo "measure: $*" >&2; }
die() {
    say "$*"
    exit 1
}

# ---- what it needs -----------------------------------------------------------

command -v Xvfb >/dev/null || die "Xvfb is missing; run scripts/install-deps"
if [[ ! -f $build/build.ninja && ! -f $build/Makefile ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" \
    --target zindra zindra_measure zindra_probe zindra_note_latency zindra_empty_window >/dev/null ||
    die "the measurement programs did not build (run scripts/install-deps; the build needs benchmarks on)"
game=$build/src/zindra
driver=$build/bench/measure/zindra_measure
probe=$build/bench/measure/zindra_probe
notes=$build/bench/measure/zindra_note_latency
empty=$build/bench/measure/zindra_empty_window

# ---- the private X server, and tidying up after everything -------------------

work=$(mktemp -d "${TMPDIR:-/tmp}/zindra-measure.XXXXXX")
xvfb_pid=
job_pid=
cleanup() {
    trap - EXIT INT TERM
    set +e # tidy up as far as possible, whatever fails
    # The driver takes the game and its busy loops with it.
    for pid in $job_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT
trap 'say "interrupted"; exit 130' INT TERM

# -displayfd: the server picks a free display and names it once it accepts
# connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [[ -s $work/display ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || die "Xvfb ended: $(tail -1 "$work/xvfb.log")"
    sleep 0.1
done
[[ -s $work/display ]] || die "Xvfb named no display within 10 s"
display=$(head -1 "$work/display")
export DISPLAY=":$display"
# A real X server, one screen pixel a window pixel, whatever this shell runs on.
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_ENABLE_HIGHDPI_SCALING QT_FONT_DPI

# Runs a measurement in the background so that Ctrl-C reaches the trap at
# once; its "name=value" lines go to the file named first.
measure() {
    local output=$1
    shift
    "$@" >"$output" &
    job_pid=$!
    wait "$job_pid" || die "$* failed; the game said: $(tail -3 "$work/game.log" 2>/dev/null)"
    job_pid=
}

# ---- the runs ----------------------------------------------------------------

# Other work on the machine shows in every figure: say how busy it was.
load_before=$(cut -d' ' -f1 /proc/loadavg)

for run in $(seq "$runs"); do
    # The yardstick first, then the game, in every run: both see the same machine.
    say "run $run of $runs: the empty window's start-up"
    measure "$work/empty-$run" "$driver" start "$empty" "$work/empty.log"
    say "run $run of $runs: start-up, idle, play"
    measure "$work/session-$run" "$driver" session "$game" "$work/game.log"
    say "run $run of $runs: tick rate, quiet and under load"
    measure "$work/ticks-$run" "$driver" ticks "$probe" "$work/game.log"
done
say "note latency"
measure "$work/notes" "$notes"

# ---- the table -----------------------------------------------------------------

# The median of one figure over the runs, "-" when no run gave it.
median() {
    local name=$1
    shift
    cat "$@" | sed -n "s/^$name=//p" | sort -g |
        awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
# Median with the lowest and highest run, to a given number of decimals.
spread() {
    local name=$1 decimals=$2
    shift 2
    local m low high
    m=$(median "$name" "$@")
    low=$(cat "$@" | sed -n "s/^$name=//p" | sort -g | head -1)
    high=$(cat "$@" | sed -n "s/^$name=//p" | sort -g | tail -1)
    [[ $m == - ]] && { echo "-"; return; }
    printf "%.${decimals}f (%.${decimals}f–%.${decimals}f)" "$m" "$low" "$high"
}
# The median to a given number of decimals.
rounded() {
    local m
    m=$(median "$1" "${@:3}")
    [[ $m == - ]] && echo "-" || printf "%.${2}f" "$m"
}
sessions=("$work"/session-*)
ticks=("$work"/ticks-*)
empties=("$work"/empty-*)

# The game's median against the empty window's: a ratio, or a difference.
ratio() { awk -v a="$(median "$1" "${sessions[@]}")" -v b="$(median "$1" "${empties[@]}")" 'BEGIN { printf "%.2f×", a / b }'; }
over() { awk -v a="$(median "$1" "${sessions[@]}")" -v b="$(median rss_start_mb "${empties[@]}")" 'BEGIN { printf "%+.1f MB", a - b }'; }


cpu_model=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
launches=$(rounded launches 0 "${sessions[@]}")
new_games=$(rounded new_games 0 "${sessions[@]}")

table=$(
    cat <<EOF
## Zindra measured ($(date '+%Y-%m-%d %H:%M'))

Machine: $(nproc) cores, ${cpu_model:-unknown CPU}, Linux $(uname -r), load average $load_before
before the runs. Xvfb 1280x1024x24, Qt on xcb.
Command: \`$command_line\`. Each figure is the median of $runs runs (lowest–highest in brackets).

| figure | measured (median) | empty Qt window | Zindra against it | target |
|---|---|---|---|---|
| start to window mapped (ms) | $(spread start_to_map_ms 1 "${sessions[@]}") | $(spread start_to_map_ms 1 "${empties[@]}") | $(ratio start_to_map_ms) | ≤ 1.2× |
| start to first drawing (ms) | $(spread start_to_frame_ms 1 "${sessions[@]}") | $(spread start_to_frame_ms 1 "${empties[@]}") | $(ratio start_to_frame_ms) | |
| start to first complete frame (ms) | $(spread start_to_complete_ms 1 "${sessions[@]}") | $(spread start_to_complete_ms 1 "${empties[@]}") | $(ratio start_to_complete_ms) | ≤ 1.3× |
| resident memory after start (MB) | $(spread rss_start_mb 1 "${sessions[@]}") | $(spread rss_start_mb 1 "${empties[@]}") | $(over rss_start_mb) | ≤ +12 MB |
| resident memory after 20 s of play (MB) | $(spread rss_play_mb 1 "${sessions[@]}") | | $(over rss_play_mb) | ≤ +14 MB |
| CPU while playing, 15 s (% of one core) | $(spread cpu_play_pct 2 "${sessions[@]}") | | | ≤ 3 |
| CPU with the window open and no game, 15 s (% of one core) | $(spread cpu_idle_pct 2 "${sessions[@]}") | | | ≤ 0.5 |
| screen updates while playing (per s) | $(spread updates_play_per_s 0 "${sessions[@]}") | | | |
| ticks while playing, machine quiet (per s) | $(spread ticks_idle_per_s 2 "${ticks[@]}") | | | 250 ± 1 |
| ticks while playing, both cores busy (per s) | $(spread ticks_loaded_per_s 2 "${ticks[@]}") | | | 250 ± 1 |

- Start: from the fork of the game to the MapNotify of its window, to the first XDamage
  report on it, and to the last one before its drawing rests for 300 ms (the first complete
  frame). The yardstick: a frameless 900 × 730 Qt Widgets window and nothing else
  (bench/measure/empty_window.cpp), started in every run just before the game. Memory: VmRSS,
  1 s after the first frame; "after 20 s of play" is compared with the empty window's. CPU: utime + stime of the game's process over 15 s.
- Play: a driver reads the board from the screen and keeps the paddle under the ball with
  XTest pointer motion at most 125 times a second (a median run: $launches launches, $new_games new
  games). Screen updates: drawing on the game's window that reaches the X server 2 ms or
  more after the last (the paddle also moves with the pointer).
- Ticks: a second build of the game with a probe on Timer1 counts ticks over 5 s of running
  timer (waiting balls left out); "busy" adds two processes that spin on the CPU. Screen
  updates meanwhile: $(rounded updates_quiet_per_s 0 "${ticks[@]}") quiet, $(rounded updates_loaded_per_s 0 "${ticks[@]}") busy (per s);
  the game's CPU while busy: $(rounded cpu_loaded_pct 2 "${ticks[@]}") % of one core.
EOF
)

mkdir -p out
echo "$table" | tee out/bench-table.md
say "written to out/bench-table.md"
