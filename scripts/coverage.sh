#!/usr/bin/env bash
# Measures how much of the code the test suite runs: builds without optimisation and with gcov
# instrumentation in build/coverage, runs the ctest suite, and writes an HTML and a text summary under
# build/coverage-report/. Prints the line and branch coverage.
# Usage: scripts/coverage.sh [--report-only]   (--report-only summarises the counts of the last run again)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build/coverage"
report="$top/build/coverage-report"
status=0
if [ "${1:-}" != "--report-only" ]; then
  "$top/scripts/setup.sh"
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DQUINTORA_BENCHMARKS=OFF \
        -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_C_FLAGS="--coverage -O0" \
        -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
  cmake --build "$build" -j "$(nproc)"
  find "$build" -name '*.gcda' -delete
  export LP_NUM_THREADS=0
  # A failing test still leaves its counts; the summary is wanted either way, the exit status says so.
  ctest --test-dir "$build" -j "$(nproc)" --output-on-failure || status=$?
fi
rm -rf "$report"
mkdir -p "$report"
# Only the project's own code counts: not the tests, the benchmarks or the build's generated files.
filters=()
for dir in engine platform online flow app games server; do
  [ -d "$top/$dir" ] && filters+=(--filter "$top/$dir/")
done
# The compiler cache hands the compiler paths relative to each target's build folder, so gcov runs from
# each such folder in turn and the parts are added up at the end.
parts="$build/coverage-parts"
rm -rf "$parts"
mkdir -p "$parts"
index=0
while read -r dir; do
  index=$((index + 1))
  gcovr --root "$top" "${filters[@]}" --exclude-unreachable-branches --exclude-throw-branches \
        --object-directory "$dir" --json "$parts/$index.json" "$dir" 2>/dev/null
done < <(find "$build" -name '*.gcda' -printf '%h\n' | sed 's|/CMakeFiles/.*||' | sort -u)
gcovr --root "$top" --add-tracefile "$parts/*.json" --html-details "$report/index.html" \
      --txt "$report/summary.txt" --print-summary | tail -n 3
exit "$status"
