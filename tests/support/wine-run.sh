#!/usr/bin/env bash
# Runs a Windows test program in the test run's prefix (ctest's emulator).
# usage: wine-run.sh STATE_DIR PROGRAM [ARG...]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state_dir=$1
shift
source "$here/wine-env.sh" "$state_dir"
shots="$state_dir/../screenshots"
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
export TAVRIN_SHOT_DIR="Z:${shots//\//\\}"
exec wine "$@"
