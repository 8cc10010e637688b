#!/usr/bin/env bash
# Resident memory over a long session: 1,000 stages played headless on the virtual clock (bench/soak),
# printed at stage 50 and at the end. Run after scripts/build.sh release. Usage: bench/soak.sh [STAGES]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
exec "$top/build/release/bench/soak/soak" "${1:-1000}"
