#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: all of them on a
# normal build (window tests under Xvfb), then all again on a build with
# AddressSanitizer and UndefinedBehaviorSanitizer; then the fuzz targets, the
# web pages in chromium, and the Windows build's unit tests and a
# play-through under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# Sounds load and play on OpenAL's null device: no sound card is needed.
export ALSOFT_DRIVERS=null
jobs="$(nproc)"

bash scripts/build.sh build
(cd build && xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure -j "$jobs")

bash scripts/build.sh build-sanitize -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_BENCH=OFF
(cd build-sanitize && ctest --output-on-failure -L unit -j "$jobs")
# The window tests and play-throughs too, for memory errors and undefined behaviour. Leaks are
# checked on the headless tests only: the OpenGL driver that a window loads
# into the process keeps a few bytes of its own until the process ends.
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
  ctest --output-on-failure -L "window|play")

# Every fuzz target (clang, libFuzzer) for a minute on its corpus: about eight
# minutes with the build. A finding fails the run and is kept in build-fuzz/findings/.
bash scripts/fuzz.sh 60

# The web build: every page built with emscripten, and tomato played in
# chromium, headless (scripts/web/test-web.sh). CORVANE_WEB=0 skips it.
if [ "${CORVANE_WEB:-1}" != 0 ]; then
  bash scripts/web/test-web.sh build-web
fi

# The Windows build: cross-built with mingw-w64, its unit tests and a
# play-through under wine (scripts/windows/test-windows.sh): about 6 minutes
# the first time on a machine, 2.5 once its libraries are built.
# CORVANE_WINDOWS=0 skips it.
if [ "${CORVANE_WINDOWS:-1}" != 0 ]; then
  bash scripts/windows/test-windows.sh build-windows
fi
