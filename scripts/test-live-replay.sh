#!/usr/bin/env bash
# A run played live is the run its replay re-plays: the game runs in a real window under a bare X server
# (Xvfb) on the real clock, a player made of xdotool clicks the Amateur button and then clicks, tilts and
# types at random until the run ends; the replay the game kept must then verify to the run's time, and
# re-playing it must write the same log lines as the live run did, from its start to its end.
# Usage: scripts/test-live-replay.sh [BINARY]   (SEED picks the player's moves; QUINTORA_KEEP_REPLAY=FILE keeps
# the replay)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
binary=${1:-$top/build/release/app/quintora}
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$binary"
fi
data=$(mktemp -d)
"$binary" --data-dir "$data/game" --mute --log "$data/live.log" >"$data/out.txt" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; rm -rf "$data"' EXIT
# The game's window, once it shows (10 s at the most).
window=$(timeout 10 xdotool search --sync --name '^Quintora$' 2>/dev/null | head -n 1 || true)
if [ -z "$window" ]; then
  echo "test-live-replay: the game opened no window: $(cat "$data/out.txt")" >&2
  exit 1
fi
# The window is 960 x 640 pixels at scale 2: a scene point (x, y) from the lower left is pixel (2x, 640-2y).
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
sleep 1.5
click 300 340  # a click ends the logo
sleep 0.5
click 300 340  # Amateur
keys=(Left Right Up Down 1 2 3 4 5 6 7 8 9 0 Return BackSpace)
RANDOM=${SEED:-7}
deadline=$((SECONDS + 150))
until grep -q "life = 0" "$data/live.log" 2>/dev/null; do
  if [ $SECONDS -ge $deadline ]; then
    echo "test-live-replay: the run did not end within 150 s" >&2
    exit 1
  fi
  case $((RANDOM % 3)) in
    0) click $((40 + RANDOM % 880)) $((40 + RANDOM % 560)) ;;
    1) xdotool keydown --window "$window" "${keys[RANDOM % 4]}"; sleep 0.$((RANDOM % 4)); xdotool keyup --window "$window" Left Right Up Down ;;
    2) xdotool key --window "$window" "${keys[4 + RANDOM % 12]}" ;;
  esac
  sleep 0.$((RANDOM % 3))
done
sleep 1
kill "$pid"
wait "$pid" 2>/dev/null || true
replay="$data/game/last-run.qreplay"
[ -s "$replay" ] || { echo "test-live-replay: the game kept no replay of the run" >&2; exit 1; }
# bench/verify.sh keeps the live run's replay to weigh it.
if [ -n "${QUINTORA_KEEP_REPLAY:-}" ]; then cp "$replay" "$QUINTORA_KEEP_REPLAY"; fi
verdict=$("$binary" --verify "$replay" --log "$data/replayed.log" || true)
echo "test-live-replay: $verdict ($(stat -c %s "$replay") bytes)"
[[ "$verdict" == *'"verdict":"verified"'* ]] || { echo "test-live-replay: not verified" >&2; exit 1; }
# The run's lines from its first stage to its time once no life is left, frame numbers left out.
run_lines() { cut -d' ' -f2- "$1" | awk '/^arr = /{on = 1} on {print} on && /^life = 0$/ {last = 1} last && /^totaltime = / {exit}'; }
if ! diff <(run_lines "$data/live.log") <(run_lines "$data/replayed.log") >"$data/diff.txt"; then
  echo "test-live-replay: the re-play's log differs from the live run's:" >&2
  head -n 20 "$data/diff.txt" >&2
  exit 1
fi
live_time=$(run_lines "$data/live.log" | tail -n 1 | sed 's/^totaltime = //')
replayed_time=$(printf '%.6f' "$(sed 's/.*"time":\([0-9.]*\).*/\1/' <<<"$verdict")")
if [ "$live_time" != "$replayed_time" ]; then
  echo "test-live-replay: the live run took $live_time s, its re-play $replayed_time s" >&2
  exit 1
fi
echo "test-live-replay: $(run_lines "$data/live.log" | wc -l) log lines the same; the time $live_time s the same"
