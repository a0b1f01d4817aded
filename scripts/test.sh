#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in parts:
#   native    the normal build (build/) and all its tests, window tests and
#             play-throughs under Xvfb
#   sanitize  all of them again on a build with AddressSanitizer and
#             UndefinedBehaviorSanitizer (build-sanitize/)
#   docs      the documentation's shell commands, run in a fresh clone
#             (scripts/check-docs.py --commands)
#   fuzz      every fuzz target for a minute on its corpus (build-fuzz/)
#   web       every page built with emscripten (build-web/) and played in
#             headless chromium; CORVANE_WEB=0 leaves it out
#   windows   the Windows cross-build's unit tests and a play-through under
#             wine (build-windows/); CORVANE_WINDOWS=0 leaves it out
# Without arguments it runs every part, in this order (the CI command);
# with part names, only those, in the order given:
#   bash scripts/test.sh native       the quick loop while working
# Each part ends with a line giving its time.
set -euo pipefail
cd "$(dirname "$0")/.."

all_parts=(native sanitize docs fuzz web windows)
parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=("${all_parts[@]}")
for part in "${parts[@]}"; do
  if [[ ! " ${all_parts[*]} " =~ " $part " ]]; then
    echo "unknown part '$part'; the parts are: ${all_parts[*]}" >&2
    exit 2
  fi
done

bash scripts/install-deps.sh

# Sounds load and play on OpenAL's null device: no sound card is needed.
export ALSOFT_DRIVERS=null
jobs="$(nproc)"
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24 -noreset")

part_native() {
  bash scripts/build.sh build
  (cd build && "${xvfb[@]}" ctest --output-on-failure -j "$jobs")
}

part_sanitize() {
  bash scripts/build.sh build-sanitize -DCORVANE_SANITIZE=ON -DCORVANE_BUILD_BENCH=OFF
  (cd build-sanitize && ctest --output-on-failure -L unit -j "$jobs")
  # The window tests and play-throughs too, for memory errors and undefined
  # behaviour. Leaks are checked on the headless tests only: the OpenGL
  # driver that a window loads into the process keeps a few bytes of its own
  # until the process ends.
  (cd build-sanitize && ASAN_OPTIONS=detect_leaks=0 "${xvfb[@]}" ctest --output-on-failure -L "window|play")
}

part_docs() {
  # The quotes and snippets are checked by the native part's tests; this
  # runs the documented build commands too, in a fresh clone of the
  # committed tree.
  python3 scripts/check-docs.py --compiler g++ --commands
}

part_fuzz() {
  # A finding fails the run and is kept in build-fuzz/findings/.
  bash scripts/fuzz.sh 60
}

part_web() {
  if [ "${CORVANE_WEB:-1}" != 0 ]; then
    bash scripts/web/test-web.sh build-web
  else
    echo "web: left out (CORVANE_WEB=0)"
  fi
}

part_windows() {
  # About 6 minutes the first time on a machine, 2.5 once its libraries are built.
  if [ "${CORVANE_WINDOWS:-1}" != 0 ]; then
    bash scripts/windows/test-windows.sh build-windows
  else
    echo "windows: left out (CORVANE_WINDOWS=0)"
  fi
}

for part in "${parts[@]}"; do
  echo "=== test part: $part"
  start=$SECONDS
  "part_$part"
  elapsed=$((SECONDS - start))
  echo "=== test part $part passed in $((elapsed / 60)) min $((elapsed % 60)) s"
done
