#!/usr/bin/env bash
# Builds SFML 2.5 and the libraries it needs (freetype, ogg, vorbis, flac,
# OpenAL Soft) and GoogleTest as static Windows libraries, from Debian's own
# source packages, into a prefix that later builds reuse.
#
# The prefix lives outside the clone, under $CORVANE_MINGW_CACHE
# (default /var/cache/corvane-mingw), in a folder named after a hash of
# the source versions, this recipe and the compiler: a machine that has
# built it once skips all of this; a changed recipe builds a fresh one.
# Prints the prefix's path as its last line.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cache="${CORVANE_MINGW_CACHE:-/var/cache/corvane-mingw}"

# Source packages, pinned: a new version makes a new prefix.
sources=(libsfml=2.5.1+dfsg-2 freetype=2.12.1+dfsg-5+deb12u4 libogg=1.3.5-3
         libvorbis=1.3.7-1 flac=1.4.2+ds-2)
# OpenAL Soft: only the upstream tarball of trixie's package is on the archive.
openal=openal-soft=1:1.24.2-1
openal_tarball=openal-soft_1.24.2.orig.tar.gz

compiler="$(x86_64-w64-mingw32-g++-posix -dumpfullversion)"
gtest_version="$(dpkg-query -W -f='${Version}' googletest)"
key="$( { printf '%s\n' "${sources[@]}" "$openal" "$compiler" "googletest=$gtest_version"
          cat "$here/build-prefix.sh" "$here/mingw-toolchain.cmake"; } | sha256sum | cut -c1-16)"
prefix="$cache/prefix-$key"

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
exec 9>"$cache/.lock"
flock 9  # one build at a time on this machine; the others wait and reuse it
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

started=$SECONDS
work="$(mktemp -d "$cache/work-XXXXXX")"
trap 'rm -rf "$work"' EXIT
rm -rf "$prefix"
mkdir -p "$prefix"

# Source packages come from Debian's archive, bookworm (trixie for OpenAL).
if ! apt-cache showsrc libsfml 2>/dev/null | grep -q '^Version: 2.5.1'; then
  cat > /etc/apt/sources.list.d/corvane-mingw-sources.sources <<'SOURCES'
# Source packages for the Windows cross-build of Corvane (scripts/windows/).
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm trixie
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
  apt-get update -qq
fi
cd "$work"
apt-get source -qq "${sources[@]}" > sources.log 2>&1 || { cat sources.log; exit 1; }
# Its .dsc and Debian tarball are missing from the archive; the upstream one arrives.
apt-get source -qq --download-only "$openal" >> sources.log 2>&1 || true
if [ ! -f "$openal_tarball" ]; then
  echo "build-prefix: $openal_tarball could not be downloaded" >&2
  exit 1
fi
tar xzf "$openal_tarball"

cmake_build() {  # <name> <source dir> [cmake options...]
  local name="$1" source="$2"
  shift 2
  local begun=$SECONDS
  cmake -S "$source" -B "build-$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$here/mingw-toolchain.cmake" \
    -DCORVANE_MINGW_PREFIX="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF "$@" > "build-$name.log" 2>&1 &&
    cmake --build "build-$name" -j "$(nproc)" >> "build-$name.log" 2>&1 &&
    cmake --install "build-$name" >> "build-$name.log" 2>&1 ||
    { tail -40 "build-$name.log"; echo "build-prefix: $name failed" >&2; return 1; }
  echo "build-prefix: $name built in $((SECONDS - begun)) s" >&2
}

cmake_build ogg libogg-1.3.5 -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
cmake_build vorbis libvorbis-1.3.7
cmake_build flac flac-1.4.2+ds -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF -DBUILD_EXAMPLES=OFF \
  -DBUILD_TESTING=OFF -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF -DWITH_STACK_PROTECTOR=OFF -DWITH_FORTIFY_SOURCE=OFF
cmake_build freetype freetype-2.12.1+dfsg -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
  -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
# OpenAL Soft as a DLL (its licence asks that it can be replaced), with
# only the WinMM, DirectSound, WASAPI, null and wave outputs Windows has,
# and the compiler's run-time libraries linked in: one DLL, nothing more.
cmake_build openal openal-soft-1.24.2 -DBUILD_SHARED_LIBS=ON -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF \
  -DALSOFT_TESTS=OFF -DALSOFT_INSTALL_EXAMPLES=OFF -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_EMBED_HRTF_DATA=ON \
  -DALSOFT_STATIC_LIBGCC=ON -DALSOFT_STATIC_STDCXX=ON -DALSOFT_STATIC_WINPTHREAD=ON
cmake_build sfml libsfml-2.5.1+dfsg -DSFML_USE_STATIC_STD_LIBS=ON -DSFML_USE_SYSTEM_DEPS=ON \
  -DSFML_BUILD_EXAMPLES=OFF -DSFML_BUILD_DOC=OFF
cmake_build googletest /usr/src/googletest -Dgtest_disable_pthreads=OFF

printf '%s\n' "${sources[@]}" "$openal" "mingw-w64 g++ $compiler" "googletest=$gtest_version" > "$prefix/.complete"
echo "build-prefix: prefix built in $((SECONDS - started)) s" >&2
echo "$prefix"
