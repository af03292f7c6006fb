#!/usr/bin/env bash
# Creates (setup) or removes (cleanup) the throwaway Wine prefix of one test run:
# a private Xvfb display, a 32-bit prefix set to Windows XP with a virtual
# desktop and no crash dialogs, the programs installed in C:\Program Files\Tavrin,
# and a pristine copy for tests that need one.
# usage: wine-prefix.sh setup STATE_DIR PROGRAM_FILE... | cleanup STATE_DIR
set -euo pipefail
action=$1 state_dir=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$state_dir"
state_dir=$(cd "$state_dir" && pwd)

stop_everything() {
  if [[ -d "$state_dir/prefix" ]]; then
    (source "$here/wine-env.sh" "$state_dir"; wineserver -k 2>/dev/null || true)
  fi
  if [[ -f "$state_dir/xvfb.pid" ]]; then
    kill "$(cat "$state_dir/xvfb.pid")" 2>/dev/null || true
    rm -f "$state_dir/xvfb.pid" "$state_dir/display"
  fi
}

start_display() {
  local n=90
  while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$state_dir/xvfb.log" 2>&1 &
  echo $! >"$state_dir/xvfb.pid"
  echo ":$n" >"$state_dir/display"
  for _ in $(seq 50); do
    [[ -e /tmp/.X11-unix/X$n ]] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

case "$action" in
  setup)
    stop_everything
    rm -rf "$state_dir/prefix" "$state_dir/pristine"
    start_display
    source "$here/wine-env.sh" "$state_dir"
    wineboot -i >"$state_dir/wineboot.log" 2>&1
    wineserver -w
    # Settings read when the wineserver starts, so before any test runs.
    {
      printf 'REGEDIT4\n\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine]\n"Version"="winxp"\n\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n\n'
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="1280x1000"\n\n'
      if [[ -f "$state_dir/versions.txt" ]]; then
        while read -r exe version; do
          [[ -n "$exe" ]] || continue
          printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s]\n"Version"="%s"\n\n' "$exe" "$version"
        done <"$state_dir/versions.txt"
      fi
    } >"$state_dir/setup.reg"
    wine regedit /S "$(winepath -w "$state_dir/setup.reg")"
    wineserver -w
    program_dir="$WINEPREFIX/drive_c/Program Files/Tavrin"
    mkdir -p "$program_dir"
    for f in "$@"; do cp "$f" "$program_dir/"; done
    cp -a "$WINEPREFIX" "$state_dir/pristine"
    # The server and the system processes live for the whole run. They are
    # started here with their output going nowhere: ctest waits for every
    # process that holds a test's output pipe.
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    echo "prefix ready: $WINEPREFIX on display $DISPLAY"
    ;;
  cleanup)
    stop_everything
    # Screenshots are for people to look at: keep them as PNG.
    shots="$state_dir/../screenshots"
    if [[ -x /usr/bin/convert && -d "$shots" ]]; then
      for bmp in "$shots"/*.bmp; do
        [[ -e "$bmp" ]] || continue
        /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
      done
    fi
    rm -rf "$state_dir/prefix" "$state_dir/pristine"
    ;;
  *)
    echo "usage: $0 setup|cleanup STATE_DIR [PROGRAM_FILE...]" >&2
    exit 2
    ;;
esac
