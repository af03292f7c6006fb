#!/usr/bin/env bash
# Builds everything and runs every test: the platform-free core natively with
# sanitizers and short fuzz runs, then the Windows programs and their tests
# under Wine in a throwaway 32-bit prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=$(nproc 2>/dev/null || echo 2)

cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
ctest --preset windows
