#!/usr/bin/env bash
# Fuzzes the JSON reader for a bounded time. Usage: scripts/test-fuzz-json.sh [seconds]   (default 30)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exec "$top/scripts/run-fuzzer.sh" json_fuzz "${1:-${QUINTORA_FUZZ_SECONDS:-30}}" "$top/tests/fuzz/corpus" \
  "$top/online/DataScanner.cpp" \
  "$top/online/JSONDeserializer.cpp" \
  "$top/online/JSONError.cpp" \
  "$top/online/JSONScanner.cpp" \
  "$top/online/JSONValue.cpp" \
  "$top/online/TextEncoding.cpp" \
  "$top/tests/fuzz/json_fuzz.cpp" \
  -- -lunistring
