#!/usr/bin/env bash
# Installs the engine from the build tree into a temporary prefix, builds the
# tiny game against the installed package from outside the source tree, and
# runs it from another directory.
set -euo pipefail
build_dir="$1"
tiny_source="$(cd "$(dirname "$0")/tiny" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --install "$build_dir" --prefix "$work/prefix" > "$work/install.log"
test -f "$work/prefix/include/corvane/Corvane.h"
test -f "$work/prefix/share/corvane/cv-font.ttf"

cmake -S "$tiny_source" -B "$work/tiny" -DCMAKE_PREFIX_PATH="$work/prefix" > "$work/configure.log"
cmake --build "$work/tiny" > "$work/build.log"
test -f "$work/tiny/cv-font.ttf"
test -f "$work/tiny/sprites/walker-spr.txt"

cd "$work/tiny"
output="$(./tiny)"
echo "$output"
# Ten steps at one cell a step from x = 5.
[ "$output" = "walker at 15,5" ]
grep -q "Game engine stopped" corvane.log
if grep -q "Error!" corvane.log; then
  cat corvane.log
  exit 1
fi
