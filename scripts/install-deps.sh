#!/usr/bin/env bash
# Installs the Debian packages Corvane needs, if any are missing.
set -euo pipefail

packages=(cmake g++ make pkg-config libsfml-dev libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev
          fonts-dejavu-core libx11-dev libopenal-dev xvfb xauth xdotool netcat-openbsd tmux)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
