#!/usr/bin/env bash
# Configures and builds one configuration: release (optimised) or asan (debug, address and undefined
# behaviour sanitizers). Usage: scripts/build.sh release|asan [extra cmake args]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
config=${1:-release}
shift || true
case "$config" in
  release) args=(-DCMAKE_BUILD_TYPE=Release) ;;
  asan)    args=(-DCMAKE_BUILD_TYPE=Debug -DQUINTORA_SANITIZE=ON) ;;
  *) echo "build.sh: unknown configuration '$config' (release or asan)" >&2; exit 2 ;;
esac
build="$top/build/$config"
cmake -S "$top" -B "$build" "${args[@]}" "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
