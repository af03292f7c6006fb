#!/usr/bin/env bash
# Builds Tavrin, installs it into C:\Program Files\Tavrin of its own 32-bit Wine
# prefix and starts the Monitor there. Uses $DISPLAY, or a virtual Xvfb display
# when there is none.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target Tavrin TavrinEx ostrum

export WINEPREFIX=${TAVRIN_WINEPREFIX:-$HOME/.tavrin-wine}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

if [[ -z "${DISPLAY:-}" ]]; then
  n=50
  while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=":$n"
  for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
  echo "No display: started a virtual one (Xvfb) on $DISPLAY."
  echo "  See it:        DISPLAY=$DISPLAY import -window root tavrin.png"
fi

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "Creating the 32-bit Wine prefix $WINEPREFIX (Windows XP)..."
  wineboot -i >/dev/null 2>&1
  wineserver -w
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
fi

program_dir="$WINEPREFIX/drive_c/Program Files/Tavrin"
mkdir -p "$program_dir"
wine "C:\\Program Files\\Tavrin\\Tavrin.exe" -Q >/dev/null 2>&1 || true  # an older Monitor ends first
sleep 1
cp build/win/src/monitor/Tavrin.exe build/win/src/explorer/TavrinEx.exe build/win/src/ostrum/ostrum.dll "$program_dir/"

nohup wine "C:\\Program Files\\Tavrin\\Tavrin.exe" >/dev/null 2>&1 &
echo "Tavrin is running in $WINEPREFIX on display $DISPLAY (icon in the notification area)."
echo "  Explorer:      WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY wine 'C:\\Program Files\\Tavrin\\TavrinEx.exe'"
echo "  Stop Monitor:  WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY wine 'C:\\Program Files\\Tavrin\\Tavrin.exe' -q"
