#!/usr/bin/env bash
# Time from process start to the first presented frame, headless: the median of ten runs of the game
# binary that stop after frame 1. Run after scripts/build.sh release.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
binary="$top/build/release/app/quintora"
data=$(mktemp -d)
trap 'rm -rf "$data"' EXIT
times=()
for _ in $(seq 10); do
  start=$(date +%s%N)
  "$binary" --headless --virtual-clock --frames 1 --data-dir "$data"
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "first frame after: median ${sorted[5]} ms (runs: ${times[*]} ms)"
