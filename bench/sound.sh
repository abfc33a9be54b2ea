#!/usr/bin/env bash

# SPDX-FileCopyrightText: 2026 The Zindra developers
#
# SPDX-License-Identifier: GPL-2.0-or-later

# The game's sound as a player hears it: the real game on a private X server,
# played by the measurement's driver, its notes going to a private PulseAudio
# server whose sink is recorded (bench/measure/zindra_sound_measure). Once on a
# quiet machine, once with both cores kept busy. Prints a Markdown table and
# writes it to out/bench-sound.md.
#
#   bash bench/sound.sh              (make bench runs it after measure.sh)
#
# BUILD (default build) is the build directory; SOUND_SECONDS (default 60) the
# play in each run. ZINDRA_SOUND_LATENCY_MS and ZINDRA_SOUND_REALTIME=0, passed
# on to the game, try other settings.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${BUILD:-build}
seconds=${SOUND_SECONDS:-60}

say() { echo "sound: $*" >&2; }
die() {
    say "$*"
    exit 1
}

command -v Xvfb >/dev/null || die "Xvfb is missing; run scripts/install-deps"
command -v pulseaudio >/dev/null || die "pulseaudio is missing; run scripts/install-deps"
cmake --build "$build" --target zindra zindra_sound zindra_sound_measure zindra_note_latency >/dev/null ||
    die "the sound measurement did not build (the build needs tests and benchmarks on)"

work=$(mktemp -d "${TMPDIR:-/tmp}/zindra-sound.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The measurement starts its own X server and sound server.
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY PULSE_SERVER

load_before=$(cut -d' ' -f1 /proc/loadavg)
for mode in quiet loaded; do
    say "$seconds s of play, $mode"
    "$build/bench/measure/zindra_sound_measure" "$build/src/zindra" "$work/game.log" "$seconds" "$mode" \
        >"$work/$mode" || die "the $mode run failed: $(tail -3 "$work/game.log")"
done
"$build/bench/measure/zindra_note_latency" >"$work/notes"

value() { sed -n "s/^$1=//p" "$2"; }
fixed() { printf "%.${1}f" "$2"; }
# The synthesizer's part: the latest audible onset of the game's four sounds.
onset=$(for sound in edge loss paddle stone; do value "onset_ms_$sound" "$work/notes"; done | sort -g | tail -1)
row_latency() {
    local file=$1
    echo "$(fixed 1 "$(awk -v a="$(value latency_ms "$file")" -v o="$onset" 'BEGIN { print a + o }')") (at worst $(fixed 1 "$(awk -v a="$(value latency_max_ms "$file")" -v o="$onset" 'BEGIN { print a + o }')"))"
}
row_drops() {
    local file=$1
    echo "$(fixed 1 "$(value dropouts_per_min "$file")") (the server reported $(fixed 1 "$(value underflows_per_min "$file")") underruns/min)"
}

table=$(
    cat <<EOF
## Zindra's sound measured ($(date '+%Y-%m-%d %H:%M'))

Command: \`bash bench/sound.sh\` (SOUND_SECONDS=$seconds${ZINDRA_SOUND_LATENCY_MS:+, ZINDRA_SOUND_LATENCY_MS=$ZINDRA_SOUND_LATENCY_MS}${ZINDRA_SOUND_REALTIME:+, ZINDRA_SOUND_REALTIME=$ZINDRA_SOUND_REALTIME}); load average $load_before before.

| figure | quiet | both cores busy | target |
|---|---|---|---|
| note-on to sound leaving the server (ms) | $(row_latency "$work/quiet") | $(row_latency "$work/loaded") | ≤ 30 |
| dropouts per minute of play | $(row_drops "$work/quiet") | $(row_drops "$work/loaded") | 0 |
| note-on to its onset in the sink's recording (ms) | $(fixed 1 "$(value heard_ms "$work/quiet")") (at worst $(fixed 1 "$(value heard_max_ms "$work/quiet")")) | $(fixed 1 "$(value heard_ms "$work/loaded")") (at worst $(fixed 1 "$(value heard_max_ms "$work/loaded")")) | |
| the first note after the stream rested, to its onset (ms) | $(fixed 1 "$(value wake_heard_ms "$work/quiet")") | $(fixed 1 "$(value wake_heard_ms "$work/loaded")") | |
| CPU with the window open and no game, server present (% of one core) | $(fixed 2 "$(value cpu_idle_pct "$work/quiet")") | | ≤ 0.5 |

- Latency: the stream's buffer plus the sink's latency as the server reported them at each
  note (median, and the worst), plus the synthesizer's onset rendered offline ($(fixed 2 "$onset") ms).
- Dropouts: runs of 16 or more exact-zero samples cutting into sound in the recording of the
  sink's monitor. Notes: $(fixed 0 "$(value notes "$work/quiet")") and $(fixed 0 "$(value notes "$work/loaded")"); without an onset: $(fixed 0 "$(value unheard "$work/quiet")") and $(fixed 0 "$(value unheard "$work/loaded")"); onsets without a note: $(fixed 0 "$(value unexplained "$work/quiet")") and $(fixed 0 "$(value unexplained "$work/loaded")").
EOF
)
mkdir -p out
echo "$table" | tee out/bench-sound.md
say "written to out/bench-sound.md"
