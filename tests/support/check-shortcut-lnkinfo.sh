#!/usr/bin/env bash
# Writes a shortcut with the shortcut writer under Wine and reads it back with
# lnkinfo (liblnk-utils), an independent parser of the file format.
# usage: check-shortcut-lnkinfo.sh STATE_DIR SHORTCUT_WRITER_EXE
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
state_dir=$1 writer=$2
source "$here/wine-env.sh" "$state_dir"

command -v lnkinfo >/dev/null || { echo "lnkinfo is missing (liblnk-utils)"; exit 1; }
shortcut="$WINEPREFIX/drive_c/tavrin-lnkinfo-check.lnk"
rm -f "$shortcut"
trap 'rm -f "$shortcut"' EXIT

"$here/wine-run.sh" "$state_dir" "$writer" 'C:\tavrin-lnkinfo-check.lnk' || { echo "the writer failed"; exit 1; }
[[ -s "$shortcut" ]] || { echo "no shortcut at $shortcut"; exit 1; }

report=$(lnkinfo "$shortcut" 2>&1) || { echo "$report"; echo "lnkinfo could not read the shortcut"; exit 1; }

failures=0
expect() {  # label, expected value: one line "label : value" in the report
  local label=$1 value=$2 line
  line=$(grep -m1 -E "^[[:space:]]*$label[[:space:]]*:" <<<"$report" | sed -E 's/^[^:]*:[[:space:]]?//')
  if [[ "$line" == "$value" ]]; then
    echo "ok   $label: $value"
  else
    echo "FAIL $label: expected '$value', got '$line'"
    failures=$((failures + 1))
  fi
}
expect "Local path" 'C:\windows\notepad.exe'
expect "Command line arguments" '/p "C:\windows\win.ini"'
expect "Working directory" 'C:\windows\temp'
expect "Description" 'Tavrin writer check'
expect "Icon location" 'C:\windows\system32\shell32.dll'
expect "Icon index" '3'

if ((failures)); then
  echo "$report"
  exit 1
fi
