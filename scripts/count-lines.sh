#!/usr/bin/env bash
# Counts non-blank, non-comment C++ lines: the code (engine, platform, online, replay, flow, app, games, server)
# against the tests, and the ratio of the two. bench/ counts for neither. Usage: scripts/count-lines.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

count() {
  local dirs=()
  for dir in "$@"; do [ -d "$top/$dir" ] && dirs+=("$top/$dir"); done
  [ ${#dirs[@]} -gt 0 ] || { echo 0; return; }
  find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.hpp' -o -name '*.h' -o -name '*.cc' -o -name '*.mm' \) \
       -print0 | xargs -0 -r cat | awk '
    {
      line = $0
      out = ""
      while (length(line) > 0) {
        if (inblock) {
          end = index(line, "*/")
          if (end == 0) { line = ""; break }
          line = substr(line, end + 2); inblock = 0
        } else {
          start = index(line, "/*"); slash = index(line, "//")
          if (slash > 0 && (start == 0 || slash < start)) { out = out substr(line, 1, slash - 1); line = ""; break }
          if (start == 0) { out = out line; line = ""; break }
          out = out substr(line, 1, start - 1); line = substr(line, start + 2); inblock = 1
        }
      }
      if (out ~ /[^ \t\r]/) n++
    }
    END { print n + 0 }'
}

code=$(count engine platform online replay flow app games server)
tests=$(count tests)
echo "code lines: $code"
echo "test lines: $tests"
awk -v c="$code" -v t="$tests" 'BEGIN { printf "ratio: %.3f (at most 0.333)\n", (c ? t / c : 0) }'
