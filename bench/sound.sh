#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The game's sound as a player hears it: the real game played on a private X
# server as a normal user runs it, its notes going to a private PulseAudio
# server whose sink is recorded (bench/measure/zindra_sound_measure). Quiet,
# with both cores kept busy, and with a -j4 build of the project beside it;
# each without a real-time slot for the rendering thread, and with the slot a
# broker gives: RealtimeKit on a system bus of our own, with the policy
# service it asks (as root only; elsewhere the table says what it got).
# Under load, once more with the server's own main thread real-time.
# Prints a Markdown table and writes it to out/bench-sound.md.
#
# BUILD (default build) is the build directory; SOUND_SECONDS (default 60)
# the play in each run. ZINDRA_SOUND_LATENCY_MS passes on to the game.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build=${BUILD:-build}
seconds=${SOUND_SECONDS:-60}
say() { echo "sound: $*" >&2; }

cmake --build "$build" --target zindra zindra_sound zindra_sound_measure >/dev/null ||
    { say "the sound measurement did not build (run scripts/install-deps)"; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/zindra-sound.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The loads beside the game, each started by a function and ended by its pids.
busy() { for _ in 1 2; do (while :; do :; done) & load+=($!); done; }
build_j4() {
    cmake -S . -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    CCACHE_DISABLE=1 setsid cmake --build "$work/build" -j4 >/dev/null 2>&1 & load+=(-$!)
    sleep 20 # under way
}

table="| load beside the game | the rendering thread's slot | in play: median / p99 / max (notes) | first after a rest: median / p99 / max (notes) | dropouts / min | underruns / min | CPU at rest (%) |
|---|---|---|---|---|---|---|"
value() { sed -n "s/^$1=//p" "$2"; }
spread() { printf "%.1f / %.1f / %.1f (%.0f)" "$(value "$1_median_ms" "$2")" "$(value "$1_p99_ms" "$2")" \
    "$(value "$1_max_ms" "$2")" "$(value "$1_notes" "$2")"; }
load_before=$(cut -d' ' -f1 /proc/loadavg)
for run in "quiet none" "quiet broker" "busy none" "busy broker" "busy broker realtime-server" \
    "build_j4 none" "build_j4 broker" "build_j4 broker realtime-server"; do
    read -r setting slot server <<<"$run"
    say "$seconds s of play, $run"
    load=()
    [[ $setting == quiet ]] || $setting
    out=$work/${run// /-}
    "$build/bench/measure/zindra_sound_measure" "$build/src/zindra" "$seconds" "$out.notes" "$slot" $server \
        >"$out" || say "that run failed"
    ((${#load[@]} == 0)) || kill -- "${load[@]}" 2>/dev/null || true
    table+="
| $setting${server:+, server all real-time} | $(value slot "$out") | $(spread play "$out") | $(spread rest "$out") | $(printf %.1f "$(value dropouts_per_min "$out")") | $(printf %.1f "$(value underruns_per_min "$out")") | $(printf %.2f "$(value cpu_idle_pct "$out")") |"
done

mkdir -p out
tee out/bench-sound.md <<EOF
## Zindra's sound measured ($(date '+%Y-%m-%d %H:%M'))

\`bash bench/sound.sh\`, $seconds s of play each, load average $load_before before; the game
run $([[ $(id -u) == 0 ]] && echo "without the capability to make itself real-time (setpriv)" || echo "as $(id -un)").

$table

- Note-on (the game's clock, its note log) to the note's onset in the recording of the sink's
  monitor (the same clock), for every note the game played; notes within 100 ms of the one
  before count with it. In play: the stream was playing; first after a rest: the note woke it.
- Dropouts: runs of 16 or more exact-zero samples cutting into sound in the recording.
  Underruns: the stream ran dry, as the server reported it (each is in the note log with what
  the rendering thread knew then).
- CPU at rest: the game's, window open, module loaded, the stream resting, over 10 s.
- The server runs as a desktop runs PulseAudio: its sink's thread real-time, its main thread,
  which asks each stream for samples, at nice -11; in the rows so marked that thread is
  real-time too ("server all real-time"), so that only the game's part shows.
EOF
say "written to out/bench-sound.md"
