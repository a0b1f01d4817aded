#!/usr/bin/env bash
# Configures a project that adds Corvane as a subdirectory and checks that
# only the engine library (and the project's own game) would be built. The
# configure step itself fails if Corvane::corvane or corvane_add_run_directory
# were missing.
set -euo pipefail
corvane_source="$(cd "$(dirname "$0")/../.." && pwd)"
parent_source="$(cd "$(dirname "$0")/parent" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake -S "$parent_source" -B "$work" -DCORVANE_SOURCE="$corvane_source" > "$work/configure.log"
targets="$(cmake --build "$work" --target help)"
echo "$targets" | grep -q "\.\.\. corvane$"
echo "$targets" | grep -q "\.\.\. parent_game$"
for unwanted in tomato tomato_lib make_sounds test_core bench_world corvane_engine_main hello pathfinder chat; do
  if echo "$targets" | grep -q "\.\.\. $unwanted$"; then
    echo "the subdirectory build would also build $unwanted"
    exit 1
  fi
done
