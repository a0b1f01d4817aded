#!/usr/bin/env bash
# Builds Corvane for Windows (scripts/build-windows.sh) and tests the .exe
# files under wine: the headless unit tests through CTest, then the
# play-through of the player's package in Xvfb (play-windows.sh).
#   test-windows.sh [build folder] [screenshot folder]
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir="${1:-build-windows}"
shots="${2:-}"
started=$SECONDS
bash scripts/build-windows.sh "$build_dir"
built=$SECONDS
wine_prefix="$(cd "$build_dir" && pwd)/wine"

# Sounds load and play on OpenAL's null output: no sound device is needed.
export ALSOFT_DRIVERS=null
# Unit tests that cannot run under wine (scripts/windows/README.md says why):
not_under_wine=(
  'NetworkLoop.NcMessageIsReadAndAnsweredThenItsHalfCloseClosesTheConnection'  # runs Linux's nc through /bin/sh
  'DisplayManager.WindowWithoutDisplayIsRefusedNotFatal'  # Windows has no X display to be missing
  'LogManager.EmptyLogVariableFailsStartUpOnStandardError'  # Windows' run-time library cannot hold an empty variable: "" removes it
)
excluded="$(IFS='|'; echo "^(${not_under_wine[*]})$")"
# One wine server for the whole run instead of one per test program.
WINEPREFIX="$wine_prefix" wineserver -p
# Wine's background programs (services, device manager) start with the first
# program and keep its output open as long as the server lives: start them
# here, on no output of CTest's, or the listing of the tests never ends.
bash scripts/windows/wine-run.sh "$wine_prefix" "" cmd /c exit < /dev/null > /dev/null 2>&1
trap 'WINEPREFIX="$wine_prefix" wineserver -k 2> /dev/null || true' EXIT
(cd "$build_dir" && ctest --output-on-failure -L unit -E "$excluded" -j "$(nproc)" --timeout 120)
tested=$SECONDS
# The unit tests' wine server has a desktop without a display (programs
# started through the command interpreter make one): the play-through starts
# its own, in its X server.
WINEPREFIX="$wine_prefix" wineserver -k 2> /dev/null || true
WINEPREFIX="$wine_prefix" wineserver -w
bash scripts/windows/play-windows.sh "$build_dir/tomato-windows.zip" "$wine_prefix" $shots
echo "Windows: built in $((built - started)) s, unit tests in $((tested - built)) s, played in $((SECONDS - tested)) s"
