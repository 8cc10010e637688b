#!/usr/bin/env bash
# Records screenshots of scripted headless runs (the menu, the stages of several stage orders, the records
# screen with its name entry and alert) into a folder, so that two builds can be compared picture by
# picture: record with each, then `diff -r` the folders (the PNG files are byte-identical when the
# pixels are).
# Usage: scripts/record-screens.sh OUTDIR [BINARY] [SCALE]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: record-screens.sh OUTDIR [BINARY] [SCALE]}
binary=${2:-$top/build/release/app/quintora}
scale=${3:-1}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Each epoch seeds a different stage order; a touch in the middle every 45 frames wins or loses some
# stages, and the others run out of time, so every run ends at the records screen.
for epoch in 1230768000 1230854400 1230940800 1231027200 1231113600 1231200000; do
  script="$work/$epoch.txt"
  {
    for frame in 30 120; do echo "$frame screenshot $out/$epoch-menu-$frame.png"; done
    echo "200 tap 150 150"
    for ((frame = 260; frame < 2900; frame += 45)); do echo "$frame tap 240 160"; done
    for ((frame = 215; frame < 2900; frame += 20)); do echo "$frame screenshot $out/$epoch-$frame.png"; done
    echo "2950 text Ann"
    echo "2955 screenshot $out/$epoch-name.png"
    echo "2956 key return"
    echo "2960 screenshot $out/$epoch-alert.png"
    echo "2961 alert 1"
    echo "2965 screenshot $out/$epoch-table.png"
    echo "2966 quit"
  } > "$script"
  "$binary" --headless --virtual-clock --epoch "$epoch" --scale "$scale" --data-dir "$work/data-$epoch" \
    --script "$script" >/dev/null
done
echo "$(ls "$out" | wc -l) screenshots in $out"
