#!/usr/bin/env bash
# TavrinEx.exe -REPORT from a script: a spreadsheet report written with exit
# code 0 whose last column names the signer of signed, unsigned and tampered
# startup programs, and a file in a missing folder refused with a message on
# stderr.
# usage: check-report-cli.sh STATE_DIR TAVRINEX OUT_DIR SIGNED_DIR
set -u
here=$(cd "$(dirname "$0")" && pwd)
state=$1 explorer=$2 out=$3 signed=$4
rm -f "$out/cli.csv" "$out/cli.err"
windows_out="Z:${out//\//\\}"
windows_signed="Z:${signed//\//\\}"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
for probe in signed unsigned tampered; do
  "$here/wine-run.sh" "$state" reg add "$run_key" /v "SignerProbe_$probe" /d "$windows_signed\\$probe.exe" /f \
    >/dev/null 2>&1
done
"$here/wine-run.sh" "$state" "$explorer" -REPORT "$windows_out\\cli.csv" 2>"$out/cli.err"
code=$?
for probe in signed unsigned tampered; do
  "$here/wine-run.sh" "$state" reg delete "$run_key" /v "SignerProbe_$probe" /f >/dev/null 2>&1
done
if [ $code -ne 0 ] || ! grep -q '^Type,SubType,Title' "$out/cli.csv"; then
  echo "-REPORT cli.csv: exit $code"; cat "$out/cli.err"; exit 1
fi
python3 - "$out/cli.csv" <<'PY' || exit 1
import csv, sys
rows = list(csv.reader(open(sys.argv[1], newline="", encoding="cp1252")))
signers = {r[2]: r[-1] for r in rows if len(r) > 2 and r[2].startswith("SignerProbe_")}
expected = {"SignerProbe_signed": "Acme Probe Works", "SignerProbe_unsigned": "(Not signed)",
            "SignerProbe_tampered": "(Not verified)"}
if signers != expected:
    sys.exit(f"-REPORT signers {signers}")
PY
"$here/wine-run.sh" "$state" "$explorer" -REPORT 'C:\no such folder\x.csv' 2>"$out/cli.err"
code=$?
if [ $code -eq 0 ] || ! grep -q 'TavrinEx -REPORT C:\\no such folder\\x.csv: ' "$out/cli.err"; then
  echo "-REPORT into a missing folder: exit $code"; cat "$out/cli.err"; exit 1
fi
echo "ok"
