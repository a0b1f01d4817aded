#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from its run directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
cd build/game/run
exec ./../tomato
