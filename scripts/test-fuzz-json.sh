#!/usr/bin/env bash
# Fuzzes the JSON reader for a bounded time under AddressSanitizer and UndefinedBehaviorSanitizer.
# Builds with clang++ directly (libFuzzer comes with clang); without clang or its fuzzer runtime the run
# is skipped, not failed. Usage: scripts/test-fuzz-json.sh [seconds]   (default 30)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-${QUINTORA_FUZZ_SECONDS:-30}}
out="$top/build/fuzz"
sources=(
  "$top/online/DataScanner.cpp"
  "$top/online/JSONDeserializer.cpp"
  "$top/online/JSONError.cpp"
  "$top/online/JSONScanner.cpp"
  "$top/online/JSONValue.cpp"
  "$top/online/TextEncoding.cpp"
  "$top/tests/fuzz/json_fuzz.cpp"
)
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
  echo "test-fuzz-json: skipped, clang++ with the libFuzzer runtime is not installed"
  exit 0
fi

"$cxx" "${flags[@]}" "${sources[@]}" -o "$out/json_fuzz"

# A scratch copy of the seeds, so what the fuzzer learns does not change the repository.
corpus="$out/corpus"
rm -rf "$corpus" "$out/artifacts"
mkdir -p "$corpus" "$out/artifacts"
cp "$top/tests/fuzz/corpus/"* "$corpus/"

echo "test-fuzz-json: fuzzing for ${seconds}s"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if ! "$out/json_fuzz" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 -max_len=65536 \
     -print_final_stats=1 -artifact_prefix="$out/artifacts/" "$corpus" > "$out/fuzz.log" 2>&1; then
  tail -n 60 "$out/fuzz.log"
  echo "test-fuzz-json: FAILED; the input that broke the reader is in $out/artifacts/" >&2
  exit 1
fi
grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$out/fuzz.log" || true
echo "test-fuzz-json: no crash, leak or hang"
