#!/usr/bin/env bash
# Installs the Debian packages Corvane needs, if any are missing; with
# --windows, also those of the Windows cross-build (scripts/build-windows.sh);
# with --web, those of the web build and its browser tests
# (scripts/build-web.sh, scripts/web/test-web.sh).
set -euo pipefail

packages=(cmake g++ make pkg-config libsfml-dev libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev
          fonts-dejavu-core libx11-dev libopenal-dev xvfb xauth xdotool netcat-openbsd tmux python3)
windows=""
if [ "${1:-}" = "--web" ]; then
  packages+=(emscripten chromium zip)
  # Node.js for emscripten and the browser tests, unless one is on the path.
  command -v node > /dev/null || packages+=(nodejs)
  command -v npm > /dev/null || packages+=(npm)
fi
if [ "${1:-}" = "--windows" ]; then
  windows=yes
  packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools wine64 wine
             dpkg-dev ninja-build zip unzip googletest x11-apps python3)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ${windows:+--no-install-recommends} "${missing[@]}"
fi
