#!/usr/bin/env bash
# Installs the engine from the build tree into a temporary prefix, builds the
# tiny game against the installed package from outside the source tree, and
# runs it from another directory.
#   install_test.sh <build folder> [--windows] [option for the tiny game's configure...]
# A Windows cross build passes --windows and its emulator: the tiny game is
# then built with the toolchain file the package installs, as a Windows game
# maker builds one, and run through that emulator.
set -euo pipefail
build_dir="$1"
shift
windows=0
if [ "${1:-}" = --windows ]; then
  windows=1
  shift
fi
tiny_source="$(cd "$(dirname "$0")/tiny" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" > "$work/install.log"
test -f "$work/prefix/include/corvane/Corvane.h"
test -f "$work/prefix/share/corvane/cv-font.ttf"

options=(-DCMAKE_PREFIX_PATH="$work/prefix")
if [ "$windows" = 1 ]; then
  options=(-DCMAKE_TOOLCHAIN_FILE="$(find "$work/prefix" -name CorvaneWindowsToolchain.cmake)")
fi
cmake -S "$tiny_source" -B "$work/tiny" "${options[@]}" "$@" > "$work/configure.log" ||
  { cat "$work/configure.log"; exit 1; }
cmake --build "$work/tiny" > "$work/build.log" || { cat "$work/build.log"; exit 1; }
test -f "$work/tiny/cv-font.ttf"
test -f "$work/tiny/sprites/walker-spr.txt"
[ "$windows" = 0 ] || test -f "$work/tiny/OpenAL32.dll"

# The emulator the tiny game's build was given, if any, as a command.
IFS=';' read -r -a run <<< "$(sed -n 's/^CMAKE_CROSSCOMPILING_EMULATOR:[A-Z]*=//p' "$work/tiny/CMakeCache.txt")"
# Started from another directory: the game enters its run directory itself.
cd "$work"
program=tiny/tiny
[ -f tiny/tiny.exe ] && program=tiny/tiny.exe
output="$("${run[@]}" "$program" | tr -d '\r')"
echo "$output"
# Ten steps at one cell a step from x = 5.
[ "$output" = "walker at 15,5" ]
[ ! -e corvane.log ]
grep -q "Game engine stopped" tiny/corvane.log
if grep -q "Error!" tiny/corvane.log; then
  cat tiny/corvane.log
  exit 1
fi
