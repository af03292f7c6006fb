#!/usr/bin/env bash
# Setup and uninstall in a fresh prefix of their own: a copy of the run's
# pristine prefix without the programs, with its own wineserver. Runs the setup
# test program's install test, reads the Start-menu shortcuts that setup wrote
# with lnkinfo (liblnk-utils), then runs the program's other tests.
# usage: check-setup.sh STATE_DIR SETUP_EXE TEST_EXE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state_dir=$1 setup=$2 test_exe=$3
source "$here/wine-env.sh" "$state_dir"
export WINEPREFIX="$state_dir/setup-prefix"
# Shortcuts in the Start menu would otherwise become menu entries of this machine.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
shots="$state_dir/../screenshots"
mkdir -p "$shots"
shots=$(cd "$shots" && pwd)
export TAVRIN_SHOT_DIR="Z:${shots//\//\\}"
export TAVRIN_SETUP="Z:${setup//\//\\}"

command -v lnkinfo >/dev/null || { echo "lnkinfo is missing (liblnk-utils)"; exit 1; }
finish() {
  wineserver -k 2>/dev/null
  rm -rf "$WINEPREFIX"
}
rm -rf "$WINEPREFIX"
cp -a "$state_dir/pristine" "$WINEPREFIX" || exit 1
trap finish EXIT
rm -rf "$WINEPREFIX/drive_c/Program Files/Tavrin"
# Started with their output going nowhere: ctest waits for whoever holds its pipe.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

install_test=Setup.InstallsSilentlyIntoAFreshPrefix
wine "$test_exe" --gtest_filter="$install_test" || exit 1

failures=0
menu=$(find "$WINEPREFIX/drive_c" -type d -path '*/Start Menu/Programs/Tavrin' | head -n1)
program_dir='C:\Program Files\Tavrin'
check_shortcut() {  # shortcut name, program it starts
  local report path dir
  report=$(lnkinfo "$menu/$1.lnk" 2>&1) || { echo "FAIL $1: lnkinfo could not read it"; failures=$((failures + 1)); return; }
  path=$(grep -m1 -E '^[[:space:]]*Local path[[:space:]]*:' <<<"$report" | sed -E 's/^[^:]*:[[:space:]]?//')
  dir=$(grep -m1 -E '^[[:space:]]*Working directory[[:space:]]*:' <<<"$report" | sed -E 's/^[^:]*:[[:space:]]?//')
  if [[ "$path" == "$program_dir\\$2" && "$dir" == "$program_dir" ]]; then
    echo "ok   $1 starts $path in $dir"
  else
    echo "FAIL $1 starts '$path' in '$dir'"
    failures=$((failures + 1))
  fi
}
check_shortcut "Tavrin Explorer" TavrinEx.exe
check_shortcut "Tavrin Monitor" Tavrin.exe
check_shortcut "Uninstall Tavrin" Uninstall.exe

wine "$test_exe" --gtest_filter="Setup.*:-$install_test" || failures=$((failures + 1))
((failures == 0))
