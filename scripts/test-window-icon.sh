#!/usr/bin/env bash
# The game's window carries its icon: started in a window under a bare X server (Xvfb), the window's
# _NET_WM_ICON property holds the 64 x 64 picture the game set.
# Usage: scripts/test-window-icon.sh [BINARY]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$top/build/release/app/quintora}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a "$0" "$binary"
fi
data=$(mktemp -d)
"$binary" --data-dir "$data" --mute --frames 1200 >"$data/out.txt" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$data"' EXIT
# The game's window, once it shows (10 s at the most).
window=$(timeout 10 xdotool search --sync --name '^Quintora$' 2>/dev/null | head -n 1 || true)
if [ -z "$window" ]; then
  echo "test-window-icon: the game opened no window: $(cat "$data/out.txt")" >&2
  exit 1
fi
xprop -id "$window" _NET_WM_ICON >"$data/icon.txt"
icon=$(sed -n 1p "$data/icon.txt")
if [[ "$icon" != *"Icon (64 x 64)"* ]]; then
  echo "test-window-icon: the window has no 64 x 64 icon: $icon" >&2
  exit 1
fi
echo "test-window-icon: the window carries its 64 x 64 icon"
