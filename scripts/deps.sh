#!/usr/bin/env bash
# Installs what building, running and testing Tavrin needs on Debian 12, as root.
# Idempotent: asks apt only for what is missing.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest python3
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  wine wine32:i386 xvfb xauth x11-utils imagemagick liblnk-utils nsis
  x11vnc novnc websockify osslsigncode openssl
)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "deps: enabling the i386 architecture for Wine's 32-bit part"
  dpkg --add-architecture i386
  refresh=1
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
elif [[ ${refresh:-0} == 1 ]]; then
  apt-get update -qq
fi
