#!/usr/bin/env bash
# Builds the Explorer and the Startup-page benchmark, runs it under Wine in a
# throwaway prefix (BUILD/bench-page-wine) and removes the prefix afterwards.
# usage: bench/run-startup-page.sh [rows (4096)]   (BUILD=build/win unless set)
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-4096}
build=${BUILD:-build/win}
state=$build/bench-page-wine

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target TavrinEx Tavrin ostrum startup_page sample_program >/dev/null

trap 'bash tests/support/wine-prefix.sh cleanup "$state" >/dev/null 2>&1 || true' EXIT
bash tests/support/wine-prefix.sh setup "$state" "$build/src/explorer/TavrinEx.exe" "$build/src/monitor/Tavrin.exe" \
  "$build/src/ostrum/ostrum.dll" >/dev/null
tests/support/wine-run.sh "$state" "$build/bench/startup_page.exe" "$rows"
