#!/usr/bin/env bash
# Builds the Monitor and the patrol benchmark, runs it under Wine in a
# throwaway prefix (BUILD/bench-wine) and removes the prefix afterwards.
# usage: bench/run-patrol.sh [idle-seconds (300)]   (BUILD=build/win unless set)
set -euo pipefail
cd "$(dirname "$0")/.."
idle=${1:-300}
build=${BUILD:-build/win}
state=$build/bench-wine

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target Tavrin ostrum patrol >/dev/null

trap 'bash tests/support/wine-prefix.sh cleanup "$state" >/dev/null 2>&1 || true' EXIT
# The benchmark needs only the Monitor in the program folder.
bash tests/support/wine-prefix.sh setup "$state" "$build/src/monitor/Tavrin.exe" "$build/src/ostrum/ostrum.dll" >/dev/null
tests/support/wine-run.sh "$state" "$build/bench/patrol.exe" "$idle"
