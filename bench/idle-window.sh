#!/usr/bin/env bash
# CPU use of the game's menu in a real window at 60 frames a second, under Xvfb: the share of one core
# the process used over ten seconds once the logo has gone. Run after scripts/build.sh release.
# Usage: bench/idle-window.sh [scale]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
scale=${1:-2}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$scale"
fi
binary="$top/build/release/app/quintora"
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$binary" --scale "$scale" --data-dir "$data" --frames 1200 &
pid=$!
sleep 4
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
t0=$(ticks); sleep 10; t1=$(ticks)
hz=$(getconf CLK_TCK)
awk -v t="$((t1 - t0))" -v hz="$hz" -v scale="$scale" \
  'BEGIN {printf "idle menu window at scale %s: %.1f%% of one core\n", scale, t * 100 / (10 * hz)}'
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
