#!/usr/bin/env bash
# Builds the signer benchmark and the signed test program, and runs the
# benchmark under Wine in a throwaway prefix (BUILD/bench-wine), removed
# afterwards.
# usage: bench/run-signer.sh [entries (400)]   (BUILD=build/win unless set)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build/win}
state=$build/bench-wine

cmake --preset windows -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target signer signed_fixtures >/dev/null

signed=$(cd "$build/tests/win/signed" && pwd)/signed.exe
trap 'bash tests/support/wine-prefix.sh cleanup "$state" >/dev/null 2>&1 || true' EXIT
bash tests/support/wine-prefix.sh setup "$state" >/dev/null
tests/support/wine-run.sh "$state" "$build/bench/signer.exe" "Z:${signed//\//\\}" "${1:-400}"
