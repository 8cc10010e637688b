#!/usr/bin/env bash
# The game in a window under a bare X server (Xvfb, no window manager), switched to fullscreen with F11:
# writes a PNG of the whole X screen before and after the switch, to look at. The picture must fill the
# screen's width or height, letterboxed, and show the whole menu.
# Usage: scripts/check-fullscreen.sh OUTDIR [SCREEN, default 1280x800]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: check-fullscreen.sh OUTDIR [WxH]}
screen=${2:-1280x800}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 ${screen}x24" "$0" "$out" "$screen"
fi
mkdir -p "$out"
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
"$top/build/release/app/quintora" --data-dir "$data" --frames 2400 &
pid=$!
sleep 6
shot() { xwd -root -silent -out "$data/screen.xwd" && python3 "$top/scripts/xwd-to-png.py" "$data/screen.xwd" "$out/$1.png"; }
shot window
window=$(xdotool search --sync --name Quintora | head -1)
xdotool windowfocus --sync "$window" key F11
sleep 3
shot fullscreen
xdotool key F11
sleep 3
shot window-again
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "screens in $out: window.png fullscreen.png window-again.png"
