#!/usr/bin/env bash
# Cross-builds Corvane, the tomato game and the tests for 64-bit Windows with
# mingw-w64, into build-windows/ (or $1), and packs the game into
# build-windows/tomato-windows.zip. SFML and its libraries come from
# scripts/windows/build-prefix.sh (built once per machine, then reused).
# The build runs Windows programs (the sound generator) under wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
build_dir="${1:-build-windows}"
shift || true
bash scripts/install-deps.sh --windows
prefix="$(bash scripts/windows/build-prefix.sh | tail -n 1)"
font=/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf
mkdir -p "$build_dir/links"
build_dir="$(cd "$build_dir" && pwd)"
# SFML links "OpenGL32"; mingw-w64 has libopengl32.a, and the file system cares.
ln -sf /usr/x86_64-w64-mingw32/lib/libopengl32.a "$build_dir/links/libOpenGL32.a"
# SFML looks for OpenAL as "openal32"; OpenAL Soft names its import library
# "libOpenAL32.dll.a", which a case-sensitive file system does not match, so
# OpenAL_LIB names it.
emulator="$root/scripts/windows/wine-run.sh;$build_dir/wine;$prefix/bin"
cmake -S . -B "$build_dir" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/scripts/windows/mingw-toolchain.cmake" -DCORVANE_MINGW_PREFIX="$prefix" \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release -DSFML_STATIC_LIBRARIES=TRUE \
  -DCMAKE_EXE_LINKER_FLAGS="-static -L$build_dir/links" -DCORVANE_BUILD_BENCH=OFF -DCORVANE_FONT_SOURCE="$font" \
  -DOpenAL_LIB="$prefix/lib/libOpenAL32.dll.a" -DCMAKE_CROSSCOMPILING_EMULATOR="$emulator" -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
  "$@" > "$build_dir/configure.log" || { cat "$build_dir/configure.log"; exit 1; }
cmake --build "$build_dir" --parallel "$(nproc)"

# The player's package: the game, the OpenAL DLL, and its run directory.
package="$build_dir/package/tomato"
rm -rf "$build_dir/package" "$build_dir/tomato-windows.zip"
mkdir -p "$package"
cp -r "$build_dir/game/run/." "$package/"
rm -f "$package"/*.log
cp "$build_dir/game/tomato.exe" "$prefix/bin/OpenAL32.dll" "$package/"
cp scripts/windows/README-windows.txt "$package/README.txt"
(cd "$build_dir/package" && zip -qr ../tomato-windows.zip tomato)
echo "Windows package: $build_dir/tomato-windows.zip"
