#!/usr/bin/env bash
# Fails when a C++ file of the project does not follow .clang-format; with --fix, formats them instead.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
mapfile -t listed < <(git ls-files -- '*.cpp' '*.hpp' '*.h' 2>/dev/null || find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.hpp' \) -print)
files=()
for file in "${listed[@]}"; do [ -e "$file" ] && files+=("$file"); done  # not one deleted but not yet committed
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
if ! clang-format --dry-run --Werror "${files[@]}" 2>/tmp/format-$$.txt; then
  grep -E '(warning|error):' /tmp/format-$$.txt | cut -d: -f1 | sort -u | sed 's/^/not formatted: /' >&2
  rm -f /tmp/format-$$.txt
  echo "check-format: run scripts/check-format.sh --fix" >&2
  exit 1
fi
rm -f /tmp/format-$$.txt
