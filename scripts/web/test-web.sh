#!/usr/bin/env bash
# Builds the web pages (scripts/build-web.sh) and the tiny game against the
# installed web package, and plays them in Debian's
# chromium, headless, driven by puppeteer-core (pinned in
# tests/web/package.json, installed from npm into tests/web/node_modules).
#   test-web.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir="${1:-build-web}"
bash scripts/build-web.sh "$build_dir"
# A game maker's game against the installed web package, as docs/web.md says.
export NODE_PATH=/usr/share/nodejs
rm -rf "$build_dir/package" "$build_dir/tiny-game"
cmake --install "$build_dir" --prefix "$build_dir/package" > /dev/null
emcmake cmake -S tests/install/tiny -B "$build_dir/tiny-game" -DCMAKE_FIND_ROOT_PATH="$(cd "$build_dir" && pwd)/package" \
  > /dev/null
cmake --build "$build_dir/tiny-game" > /dev/null
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
CORVANE_WEB_BUILD="$(cd "$build_dir" && pwd)" node --test tests/web/
