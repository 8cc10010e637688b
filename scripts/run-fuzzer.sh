#!/usr/bin/env bash
# Builds one libFuzzer target with clang++ under AddressSanitizer and UndefinedBehaviorSanitizer and runs
# it for a bounded time on a scratch copy of its seeds. Without clang or its fuzzer runtime the run is
# skipped, not failed. Used by the scripts/test-fuzz-*.sh scripts.
# Usage: scripts/run-fuzzer.sh NAME SECONDS SEED_DIR SOURCE... [-- LINK_FLAGS...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
name=$1 seconds=$2 seeds=$3
shift 3
sources=() libs=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; libs=("$@"); break; fi
  sources+=("$1")
  shift
done
out="$top/build/fuzz"
flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I "$top")

cxx=""
for candidate in clang++ clang++-14 clang++-15 clang++-16; do
  if command -v "$candidate" >/dev/null; then cxx=$candidate; break; fi
done
mkdir -p "$out"
probe="$out/probe.cpp"
cat > "$probe" <<'CPP'
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
CPP
if [ -z "$cxx" ] || ! "$cxx" "${flags[@]}" "$probe" -o "$out/probe" 2>/dev/null; then
  echo "$name: skipped, clang++ with the libFuzzer runtime is not installed"
  exit 0
fi

"$cxx" "${flags[@]}" "${sources[@]}" "${libs[@]}" -o "$out/$name"

# A scratch copy of the seeds, so what the fuzzer learns does not change the repository.
corpus="$out/$name-corpus"
artifacts="$out/$name-artifacts"
rm -rf "$corpus" "$artifacts"
mkdir -p "$corpus" "$artifacts"
cp "$seeds/"* "$corpus/"

echo "$name: fuzzing for ${seconds}s"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
log="$out/$name.log"
if ! "$out/$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536 \
     -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" > "$log" 2>&1; then
  tail -n 60 "$log"
  echo "$name: FAILED; the input that broke it is in $artifacts/" >&2
  exit 1
fi
grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
echo "$name: no crash, leak or hang"
