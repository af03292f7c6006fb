#!/usr/bin/env bash
# Runs a Windows test program in the test run's prefix (ctest's emulator).
# usage: wine-run.sh STATE_DIR PROGRAM [ARG...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state_dir=$1
shift
source "$here/wine-env.sh" "$state_dir"
export TAVRIN_SHOT_DIR="$state_dir/screenshots"
mkdir -p "$TAVRIN_SHOT_DIR"
exec wine "$@"
