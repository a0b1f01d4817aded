#!/usr/bin/env bash
# Runs a Windows program under wine: wine-run.sh <wine prefix> <DLL folder> <program> [arguments...]
# Makes the wine prefix on first use (64-bit, quiet, no Mono or Gecko, and
# windows left to themselves rather than to a window manager, as under Xvfb
# there is none). Used as the cross build's emulator, so CTest and the build
# run the .exe files through it.
set -euo pipefail
prefix="$1"
dll_folder="$2"
shift 2
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPATH="$dll_folder"
if [ ! -f "$prefix/.corvane-ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  if [ ! -f "$prefix/.corvane-ready" ]; then
    wine wineboot --init > /dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f > /dev/null 2>&1
    wineserver -w
    touch "$prefix/.corvane-ready"
  fi
  exec 9>&-
fi
exec wine "$@"
