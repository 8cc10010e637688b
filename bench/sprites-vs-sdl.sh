#!/usr/bin/env bash
# Frames per second of N moving 32 x 32 sprites in a 480 x 320 window under Xvfb: SDL2's testsprite2
# (Debian's libsdl2-tests) with each of its renderers, then the engine (bench/sprites/sprite_window).
# Each program runs for the same time; its figure is the median of the frame rates it reports. The last
# line is `ratio R`: the engine's frames per second over the best of testsprite2's.
# Run after scripts/build.sh release. Usage: bench/sprites-vs-sdl.sh [N] [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-2000}
seconds=${2:-20}
# testsprite2 reports its rate every five seconds and its first report is skipped: shorter runs have none.
[ "$seconds" -ge 15 ] || { echo "sprites-vs-sdl: runs of at least 15 seconds give testsprite2 time to report" >&2; exit 2; }
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$count" "$seconds"
fi
sdl=/usr/libexec/installed-tests/SDL2
ours="$top/build/release/bench/sprites/sprite_window"
[ -x "$sdl/testsprite2" ] || { echo "sprites-vs-sdl: testsprite2 missing (scripts/setup.sh installs libsdl2-tests)" >&2; exit 1; }
[ -x "$ours" ] || { echo "sprites-vs-sdl: $ours missing (scripts/build.sh release)" >&2; exit 1; }

# The median of the "X frames per second" lines a program printed, skipping the first (start-up).
median() { { grep -o '^[A-Z: ]*[0-9.]* frames per second$' || true; } | grep -o '[0-9.]*' | tail -n +2 | sort -g |
  awk '{v[NR] = $1} END {if (NR == 0) print 0; else print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

best=0
for renderer in software opengl opengles2; do
  # testsprite2 reports its frame rate every few seconds and runs until it is stopped.
  log=$(mktemp)
  # (The shell's note that it was killed goes nowhere.)
  (cd "$sdl" && timeout -s KILL "$seconds" ./testsprite2 --geometry 480x320 --renderer "$renderer" \
     "$count" icon.bmp >"$log" 2>&1) 2>/dev/null || true
  fps=$(median <"$log")
  rm -f "$log"
  echo "testsprite2 $renderer, $count sprites: $fps frames per second"
  best=$(awk -v a="$fps" -v b="$best" 'BEGIN {print (a > b ? a : b)}')
done
fps=$("$ours" "$count" "$seconds" | median)
echo "engine, $count sprites: $fps frames per second"
awk -v a="$fps" -v b="$best" 'BEGIN {printf "ratio %.2f\n", (b > 0 ? a / b : 0)}'
