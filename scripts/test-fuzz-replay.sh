#!/usr/bin/env bash
# Fuzzes the replay reader for a bounded time. Usage: scripts/test-fuzz-replay.sh [seconds]   (default 30)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Quintora VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
exec "$top/scripts/run-fuzzer.sh" replay_fuzz "${1:-${QUINTORA_FUZZ_SECONDS:-30}}" "$top/tests/fuzz/replay_corpus" \
  "-DQUINTORA_VERSION=\"$version\"" \
  "$top/replay/ByteStream.cpp" \
  "$top/replay/Replay.cpp" \
  "$top/tests/fuzz/replay_fuzz.cpp" \
  -- -lzstd
