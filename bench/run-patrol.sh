#!/usr/bin/env bash
# Builds the Monitor and the patrol benchmark, runs it under Wine in a
# throwaway prefix (BUILD/bench-wine) and removes the prefix afterwards.
# While the Monitor idles, its CPU time is also read from Linux: Wine's answer
# for another process's CPU time is not to be trusted.
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
prefix=$(cd "$state" && pwd)/prefix
out=$state/patrol-output.txt
flag=$(cd "$state" && pwd)/idle-read
rm -f "$out" "$flag"

# utime + stime (clock ticks) of the Wine process of this prefix that runs Tavrin.exe.
monitor_ticks() {
  local pid
  for pid in $(pgrep -f 'Tavrin\.exe' || true); do
    tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -1 | grep -qi 'Tavrin\.exe$' || continue
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" || continue
    # Fields after the command name in parentheses: utime is the 14th field, stime the 15th.
    sed 's/.*) //' "/proc/$pid/stat" | awk '{ print $12 + $13 }'
    return
  done
  echo -1
}

tests/support/wine-run.sh "$state" "$build/bench/patrol.exe" "$idle" "" "Z:${flag//\//\\}" >"$out" 2>&1 &
bench=$!
tail -n +1 -f --pid=$bench "$out" &
begin_ticks=-1 end_ticks=-1
while kill -0 $bench 2>/dev/null; do
  if [[ $begin_ticks == -1 ]] && grep -q '^idle begins' "$out"; then
    begin_ticks=$(monitor_ticks) begin_ns=$(date +%s%N)
  fi
  if [[ $begin_ticks != -1 && $end_ticks == -1 ]] && grep -q '^idle ends' "$out"; then
    end_ticks=$(monitor_ticks) end_ns=$(date +%s%N)
    touch "$flag"
  fi
  sleep 0.2
done
wait $bench || true
sleep 0.5  # let tail print the last lines
if [[ $begin_ticks -ge 0 && $end_ticks -ge 0 ]]; then
  awk -v t=$((end_ticks - begin_ticks)) -v b="$begin_ticks" -v hz="$(getconf CLK_TCK)" -v ns=$((end_ns - begin_ns)) 'BEGIN {
    ms = t * 1000 / hz; wall = ns / 1e6
    printf "monitor idle CPU read from Linux (/proc utime+stime of the Wine process): %.0f ms over %.1f s = %.4f%% of one core (target below 0.1%%; the target is judged by this figure); start-up before it %.0f ms\n", ms, wall / 1000, 100 * ms / wall, b * 1000 / hz
  }'
else
  echo "monitor idle CPU read from Linux: the Wine process running Tavrin.exe was not found"
fi
