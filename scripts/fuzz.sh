#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/, gathers each target's corpus
# from the tests' fixtures and fuzz/seeds/, and runs each target for the given
# seconds (default 60) on it. Usage: scripts/fuzz.sh [seconds] [target...]
# Targets: sprite config serialize network sound path. A finding leaves its
# input in build-fuzz/findings/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(sprite config serialize network sound path)

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DCORVANE_FUZZ=ON \
  -DCORVANE_BUILD_TESTS=OFF -DCORVANE_BUILD_BENCH=OFF -DCORVANE_BUILD_GAME=OFF > /dev/null
cmake --build build-fuzz --parallel "$(nproc)"

export ALSOFT_DRIVERS=null
corpus=build-fuzz/corpus
mkdir -p build-fuzz/findings
seed() {  # seed <target> <files...>: copies seed files into the target's corpus
  local target="$1"
  shift
  mkdir -p "$corpus/$target"
  cp -n "$@" "$corpus/$target/" 2>/dev/null || true
}
seed sprite tests/fixtures/sprites/*.txt fuzz/seeds/sprite/*
seed config fuzz/seeds/config/*
seed serialize fuzz/seeds/serialize/*
seed network fuzz/seeds/network/*
seed path fuzz/seeds/path/*
mkdir -p "$corpus/sound"
build-fuzz/fuzz/fuzz_sound_seeds "$corpus/sound" > /dev/null

# The sound target's memory is its process's own plus the largest sound it
# may hold, and no more: about 72 MB under the sanitizers on a one-byte
# input (with AddressSanitizer keeping at most 16 MB of freed memory), the
# largest file a sound may have read whole (24 MB) and its 11.5 MB of samples
# twice (the buffer and the audio device), and 16 MB for the decoders: 150 MB.
declare -A extra=([sound]="-rss_limit_mb=150" [network]="-timeout=10")
declare -A asan=([sound]="quarantine_size_mb=16")
status=0
for target in "${targets[@]}"; do
  log="build-fuzz/fuzz-$target.log"
  echo "fuzz_$target: ${seconds} s"
  if ! ASAN_OPTIONS="${asan[$target]:-}" build-fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="build-fuzz/findings/$target-" ${extra[$target]:-} "$corpus/$target" > "$log" 2>&1; then
    echo "fuzz_$target: FINDING, see $log and build-fuzz/findings/"
    tail -n 30 "$log"
    status=1
  fi
  grep -E "^stat::number_of_executed_units|^#[0-9]+ +DONE" "$log" | tail -n 2 || true
done
exit "$status"
