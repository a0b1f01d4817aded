#!/usr/bin/env bash
# Builds Corvane, tomato and the examples as web pages with Debian's
# emscripten (installing what is missing), into build-web/ (or $1):
#   build-web/site/          tomato's page, ready for any static web host:
#                            index.html, tomato.js, tomato.wasm, tomato.data
#   build-web/site/hello/, build-web/site/pathfinder/
#                            the example games' pages
#   build-web/tomato-web.zip the same folder as one file
# The chat example needs TCP sockets, which a web page has not: it is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --web
build_dir="${1:-build-web}"
mkdir -p "$build_dir"
build_dir="$(cd "$build_dir" && pwd)"

# Debian's emscripten runs its tools with the system's node, which finds its
# modules only here; its HTML minifier is not packaged (the pages are ours).
export NODE_PATH=/usr/share/nodejs

# The sound generator runs on this machine while the game is built for the page.
mkdir -p "$build_dir/host"
if [ ! -x "$build_dir/host/make_sounds" ] || [ game/sounds/make_sounds.cpp -nt "$build_dir/host/make_sounds" ]; then
  g++ -std=c++17 -O2 -o "$build_dir/host/make_sounds" game/sounds/make_sounds.cpp
fi

emcmake cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release \
  -DTOMATO_SOUND_GENERATOR="$build_dir/host/make_sounds" > "$build_dir/configure.log"
cmake --build "$build_dir" --parallel "$(nproc)"

# The folder a static host serves: the game at its root, the examples beside it.
site="$build_dir/site"
rm -rf "$site"
mkdir -p "$site"
cp "$build_dir/game/index.html" "$build_dir/game/tomato.js" "$build_dir/game/tomato.wasm" "$build_dir/game/tomato.data" "$site/"
for example in hello pathfinder; do
  mkdir -p "$site/$example"
  cp "$build_dir/examples/$example/index.html" "$build_dir/examples/$example/$example".{js,wasm,data} "$site/$example/"
done
rm -f "$build_dir/tomato-web.zip"
(cd "$site" && zip -qr "$build_dir/tomato-web.zip" .)
echo "Web build: $site ($(du -sh "$site" | cut -f1)), $build_dir/tomato-web.zip"
