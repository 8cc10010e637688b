#!/usr/bin/env bash
# Starts the game in a window N times in a row under one X server (Xvfb) and counts the starts that fail:
# each start must open its window and run a second of frames. A start that fails prints its error.
# Usage: scripts/check-window-starts.sh N [BINARY]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
count=${1:?usage: check-window-starts.sh N [BINARY]}
binary=${2:-$top/build/release/app/quintora}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$count" "$binary"
fi
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
failures=0
for ((i = 1; i <= count; i++)); do
  if ! timeout 60 "$binary" --frames 60 --mute --data-dir "$data" >"$data/out.txt" 2>&1; then
    failures=$((failures + 1))
    echo "start $i failed: $(head -c 300 "$data/out.txt")" >&2
  fi
done
echo "$count starts, $failures failed"
[ "$failures" -eq 0 ]
