#!/usr/bin/env bash
# Verifying recorded runs: how fast a long run re-plays without drawing, how small replays are, and how
# many posts with replays the score server takes while its verifiers work.
#   1. A run of about ten minutes (260 stages won, then five lost) is played in-process by the stages'
#      own test players and recorded (the whole-run test, asked for a long run); the game binary verifies
#      it three times: CPU seconds (user + system, the median) and the multiple of the run's real time.
#   2. Replay bytes per minute of play, for that run (steady frame times) and for a run played live in a
#      window under Xvfb with the real clock (uneven frame times; scripts/test-live-replay.sh).
#   3. Acknowledged posts a second with a replay each on SQLite while the real verifiers run
#      (bench/server.sh replay-posts).
# Run after scripts/build.sh release. Usage: bench/verify.sh [WINS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/release"
game="$build/app/quintora"
wins=${1:-260}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export LP_NUM_THREADS=0 MESA_SHADER_CACHE_DISABLE=true

echo "== a long run, played and recorded ($wins stages won)"
# A player that misses now and then only makes the run a little shorter; the run is kept whatever happens.
QUINTORA_RECORDED_RUN_WINS=$wins QUINTORA_KEEP_REPLAY="$work/long.qreplay" \
  "$build/tests/games/stage_tests" --gtest_filter='*ARunPlayedWithItsInputsRecorded*' >"$work/played.txt" 2>&1 ||
  echo "(a stage player missed: $(grep -c Failure "$work/played.txt") failed expectations; the run goes on)"
[ -s "$work/long.qreplay" ] || { tail -n 30 "$work/played.txt"; exit 1; }
cpu=()
for _ in 1 2 3; do
  /usr/bin/time -f "%U %S" -o "$work/time.txt" "$game" --verify "$work/long.qreplay" >"$work/verdict.txt"
  cpu+=("$(awk '{printf "%.3f", $1 + $2}' "$work/time.txt")")
done
verdict=$(cat "$work/verdict.txt")
echo "verdict: $verdict"
frames=$(sed 's/.*"frames":\([0-9]*\).*/\1/' <<<"$verdict")
median=$(printf '%s\n' "${cpu[@]}" | sort -n | sed -n 2p)
bytes=$(stat -c %s "$work/long.qreplay")
awk -v f="$frames" -v c="$median" -v b="$bytes" -v runs="${cpu[*]}" 'BEGIN {
  minutes = f / 60 / 60
  printf "run: %d frames, %.1f minutes of play\n", f, minutes
  printf "verify: %.3f s of CPU (median of %s), %.0fx real time\n", c, runs, f / 60 / c
  printf "replay: %d bytes, %.0f bytes per minute of play\n", b, b / minutes
}'

echo "== a run played live in a window"
if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null; then
  QUINTORA_KEEP_REPLAY="$work/live.qreplay" "$top/scripts/test-live-replay.sh" "$game" | tail -n 2
  live=$("$game" --verify "$work/live.qreplay")
  live_frames=$(sed 's/.*"frames":\([0-9]*\).*/\1/' <<<"$live")
  # A live run's frame steps are what the display gave: its length is read from its verdict's frames at
  # the game's 60 a second.
  awk -v f="$live_frames" -v b="$(stat -c %s "$work/live.qreplay")" 'BEGIN {
    printf "live replay: %d bytes for %d frames, %.0f bytes per minute of play\n", b, f, b / (f / 3600)
  }'
else
  echo "skipped: xvfb-run and xdotool are needed"
fi

echo "== posts with replays while the verifiers work"
QUINTORA_BENCH_REPLAY="$work/long.qreplay" QUINTORA_BENCH_REPLAY="$work/long.qreplay" "$top/bench/server.sh" replay-posts
