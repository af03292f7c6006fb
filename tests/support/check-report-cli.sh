#!/usr/bin/env bash
# TavrinEx.exe -REPORT from a script: a spreadsheet report written with exit
# code 0, and a file in a missing folder refused with a message on stderr.
# usage: check-report-cli.sh STATE_DIR TAVRINEX OUT_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
state=$1 explorer=$2 out=$3
rm -f "$out/cli.csv" "$out/cli.err"
windows_out="Z:${out//\//\\}"
"$here/wine-run.sh" "$state" "$explorer" -REPORT "$windows_out\\cli.csv" 2>"$out/cli.err"
code=$?
if [ $code -ne 0 ] || ! grep -q '^Type,SubType,Title' "$out/cli.csv"; then
  echo "-REPORT cli.csv: exit $code"; cat "$out/cli.err"; exit 1
fi
"$here/wine-run.sh" "$state" "$explorer" -REPORT 'C:\no such folder\x.csv' 2>"$out/cli.err"
code=$?
if [ $code -eq 0 ] || ! grep -q 'TavrinEx -REPORT C:\\no such folder\\x.csv: ' "$out/cli.err"; then
  echo "-REPORT into a missing folder: exit $code"; cat "$out/cli.err"; exit 1
fi
echo "ok"
