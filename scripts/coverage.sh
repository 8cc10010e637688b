#!/usr/bin/env bash
# Measures how much of the code the test suite runs: builds without optimisation and with gcov
# instrumentation in build/coverage, runs the ctest suite, and writes an HTML and a text summary under
# build/coverage-report/. Prints the line and branch coverage. Usage: scripts/coverage.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
build="$top/build/coverage"
report="$top/build/coverage-report"
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DQUINTORA_BENCHMARKS=OFF \
      -DCMAKE_CXX_FLAGS="--coverage -O0" -DCMAKE_C_FLAGS="--coverage -O0" \
      -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$build" -j "$(nproc)"
find "$build" -name '*.gcda' -delete
export LP_NUM_THREADS=0
# A failing test still leaves its counts; the summary is wanted either way, the exit status says so.
status=0
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure || status=$?
rm -rf "$report"
mkdir -p "$report"
# Only the project's own code counts: not the tests, the benchmarks or the build's generated files.
filters=()
for dir in engine platform online app games server; do
  [ -d "$top/$dir" ] && filters+=(--filter "$top/$dir/")
done
gcovr --root "$top" "${filters[@]}" --object-directory "$build" --exclude-unreachable-branches \
      --exclude-throw-branches --html-details "$report/index.html" --txt "$report/summary.txt" \
      --print-summary | tail -n 3
exit "$status"
