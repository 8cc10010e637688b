#!/usr/bin/env bash
# Fuzzes the score server's form decoding and score checks for a bounded time.
# Usage: scripts/test-fuzz-form.sh [seconds]   (default 15)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exec "$top/scripts/run-fuzzer.sh" form_fuzz "${1:-${QUINTORA_FUZZ_SECONDS:-15}}" "$top/tests/fuzz/form_corpus" \
  "$top/online/JSONWriter.cpp" \
  "$top/online/ScoreForm.cpp" \
  "$top/server/ScoreChecks.cpp" \
  "$top/server/Text.cpp" \
  "$top/tests/fuzz/form_fuzz.cpp" \
  -- -lnettle -lunistring
