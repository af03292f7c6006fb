#!/usr/bin/env bash
# Builds Tavrin and its setup, installs it with that setup into C:\Program Files\Tavrin
# of its own 32-bit Wine prefix and starts the Monitor there, on $DISPLAY.
# Without a display it starts a virtual one (Xvfb) with Wine's virtual desktop
# on it, so windows have their frames and the tray icon sits in a taskbar, and
# serves that display to a browser on this machine: VNC (x11vnc) through noVNC
# (websockify), both bound to localhost.
# usage: run.sh [--stop]   (--stop ends the Monitor, Wine, and the display and view it started)
set -euo pipefail
cd "$(dirname "$0")/.."

export WINEPREFIX=${TAVRIN_WINEPREFIX:-$HOME/.tavrin-wine}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
view="${WINEPREFIX%/}-view"  # the virtual display and the browser view of a run without one
program='C:\Program Files\Tavrin'

alive() { [[ -f "$view/$1.pid" ]] && kill -0 "$(cat "$view/$1.pid")" 2>/dev/null; }
port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
stop_view() {
  for p in websockify x11vnc xvfb; do
    if alive "$p"; then kill "$(cat "$view/$p.pid")"; fi
    rm -f "$view/$p.pid"
  done
}
free_port() {
  local port=$1
  while ! port_free "$port"; do port=$((port + 1)); done
  echo "$port"
}

if [[ "${1:-}" == "--stop" ]]; then
  if [[ -z "${DISPLAY:-}" ]] && alive xvfb; then DISPLAY=$(cat "$view/display"); export DISPLAY; fi
  if [[ -f "$WINEPREFIX/system.reg" ]]; then
    wine "$program\\TavrinEx.exe" -Q >/dev/null 2>&1 || true
    wine "$program\\Tavrin.exe" -Q >/dev/null 2>&1 || true
    sleep 2
    wineserver -k 2>/dev/null || true
  fi
  stop_view
  echo "Stopped Tavrin in $WINEPREFIX."
  exit 0
fi

bash scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target setup

mkdir -p "$view"
desktop=host
if [[ -n "${DISPLAY:-}" ]]; then
  stop_view  # a virtual display of an earlier run without one is no longer used
else
  desktop=virtual
  if alive xvfb; then
    DISPLAY=$(cat "$view/display")
  else
    n=50
    while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$view/xvfb.log" 2>&1 &
    echo $! >"$view/xvfb.pid"
    echo ":$n" >"$view/display"
    for _ in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
    DISPLAY=":$n"
  fi
  export DISPLAY
  echo "No display: Tavrin runs on a virtual one (Xvfb) on $DISPLAY."
fi

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "Creating the 32-bit Wine prefix $WINEPREFIX (Windows XP)..."
  wineboot -i >/dev/null 2>&1
  wineserver -w
  wine reg add 'HKCU\Software\Wine' /v Version /d winxp /f >/dev/null 2>&1
fi

# Wine reads the desktop setting when its desktop starts: a change of display
# kind restarts the prefix's programs.
if [[ "$(cat "$view/desktop" 2>/dev/null)" != "$desktop" ]]; then
  wine "$program\\Tavrin.exe" -Q >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  if [[ $desktop == virtual ]]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  else
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1 || true
  fi
  wineserver -w
  echo "$desktop" >"$view/desktop"
fi

# Setup stops a running Monitor, installs over it keeping every setting, and
# starts the new one.
# Its output goes to a log: the Monitor and the wineserver it starts keep
# whatever they inherit open as long as they run.
wine build/win/Tavrin-setup.exe /S </dev/null >"$view/setup.log" 2>&1
echo "Tavrin is installed in $program of $WINEPREFIX and runs on display $DISPLAY."

if [[ $desktop == virtual ]]; then
  if ! alive x11vnc; then
    vnc_port=$(free_port 5900)
    x11vnc -display "$DISPLAY" -localhost -rfbport "$vnc_port" -forever -shared -nopw >"$view/x11vnc.log" 2>&1 &
    echo $! >"$view/x11vnc.pid"
    echo "$vnc_port" >"$view/vnc-port"
  fi
  if ! alive websockify; then
    web_port=$(free_port 6080)
    for _ in $(seq 50); do port_free "$(cat "$view/vnc-port")" || break; sleep 0.1; done
    websockify --web /usr/share/novnc "127.0.0.1:$web_port" "127.0.0.1:$(cat "$view/vnc-port")" \
      >"$view/websockify.log" 2>&1 &
    echo $! >"$view/websockify.pid"
    echo "$web_port" >"$view/web-port"
  fi
  echo "  Look and click: http://localhost:$(cat "$view/web-port")/vnc.html?autoconnect=true&resize=scale"
  echo "                  (VNC on localhost:$(cat "$view/vnc-port"); from elsewhere: ssh -L $(cat "$view/web-port"):localhost:$(cat "$view/web-port") this machine)"
fi
echo "  Explorer:       WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY wine '$program\\TavrinEx.exe'"
echo "  Stop it all:    ${TAVRIN_WINEPREFIX:+TAVRIN_WINEPREFIX=$WINEPREFIX }bash scripts/run.sh --stop"
