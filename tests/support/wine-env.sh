# Sourced by the harness scripts: the Wine settings every test process shares.
# $1 is the harness state folder (build/win/wine).
state_dir=$(cd "$1" && pwd)
export WINEPREFIX="$state_dir/prefix"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono/Gecko install prompts; no sound driver (PlaySound fails fast instead of hanging).
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv=d"
export TAVRIN_PROGRAM_DIR='C:\Program Files\Tavrin'
if [[ -f "$state_dir/display" ]]; then
  DISPLAY=$(cat "$state_dir/display")
  export DISPLAY
fi
