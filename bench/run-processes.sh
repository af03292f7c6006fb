#!/usr/bin/env bash
# Builds the process benchmark and runs it under Wine in a throwaway prefix
# (BUILD/bench-wine), removed afterwards.
# usage: bench/run-processes.sh [programs (12)]   (BUILD=build/win unless set)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build/win}
state=$build/bench-wine

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target processes >/dev/null

trap 'bash tests/support/wine-prefix.sh cleanup "$state" >/dev/null 2>&1 || true' EXIT
bash tests/support/wine-prefix.sh setup "$state" >/dev/null
tests/support/wine-run.sh "$state" "$build/bench/processes.exe" "${1:-12}"
