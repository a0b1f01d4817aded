#!/usr/bin/env bash
# Installs what is missing, builds the game alone (not the tests and
# benchmarks) and starts it. The build's own output goes to
# build/play-build.log; the terminal gets a few lines of progress.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

build_dir=build
log="$build_dir/play-build.log"
mkdir -p "$build_dir"

# Prints the build's progress at every quarter from its output on stdin.
progress() {
  local next=25 line percent
  while IFS= read -r line; do
    if [[ $line =~ ^\[\ *([0-9]+)%\] ]]; then
      percent=${BASH_REMATCH[1]}
    elif [[ $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
      percent=$((100 * BASH_REMATCH[1] / BASH_REMATCH[2]))
    else
      continue
    fi
    if ((percent >= next)); then
      echo "  $percent%"
      while ((next <= percent)); do next=$((next + 25)); done
    fi
  done
}

failed() {
  echo "The build failed. Its last lines (all of it is in $log):"
  tail -n 25 "$log"
  exit 1
}

echo "Building tomato (the build's output goes to $log)..."
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo > "$log" 2>&1 || failed
cmake --build "$build_dir" --target tomato --parallel "$(nproc)" 2>&1 | tee -a "$log" | progress || failed
echo "Built. Starting tomato."
exec "$build_dir/game/tomato"
