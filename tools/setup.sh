#!/usr/bin/env bash
# Prepares a Debian 12 machine for building and testing the viewer: installs the
# missing Debian packages and builds the static Windows libraries (libjpeg-turbo,
# libpng, libmspack, GoogleTest) from Debian's source packages into a cache
# outside the tree, keyed by source version. Re-running skips finished work.
#
#   tools/setup.sh [apt|sources|deps]...     (default: all three, in that order)
#
# ORVELLE_CACHE  cache folder (default ~/.cache/orvelle); the libraries land in
#                $ORVELLE_CACHE/win-deps, which cmake/mingw-w64-x86_64.cmake uses.
set -euo pipefail

CACHE=${ORVELLE_CACHE:-${HOME}/.cache/orvelle}
PREFIX=$CACHE/win-deps
SRC=$CACHE/src
BUILD=$CACHE/build
TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TC=$TOP/cmake/mingw-w64-x86_64.cmake
HOST=x86_64-w64-mingw32
JOBS=$(nproc)

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

say() { printf '== %s\n' "$*"; }

step_apt() {
    local pkgs=(
        g++ cmake ninja-build make nasm dpkg-dev pkg-config
        g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev
        wine wine64 xvfb xauth x11-apps xdotool imagemagick fonts-wine fonts-ipafont-gothic locales
        googletest libgtest-dev libgmock-dev libbenchmark-dev
        libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev zlib1g-dev libmspack-dev
        clang libclang-rt-14-dev gcab python3-pil ffmpeg pulseaudio pulseaudio-utils nsis)
    local missing=() p
    for p in "${pkgs[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    if ((${#missing[@]})); then
        say "installing: ${missing[*]}"
        $SUDO apt-get update -q
        $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
    # With the ja_JP.UTF-8 locale and LANG set, Wine runs with code page 932.
    locale -a | grep -qx 'ja_JP.utf8' || $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
}

# Private apt configuration: deb-src twins of the system's entries; the system's
# own sources, lists and caches stay untouched.
APTDIR=$CACHE/apt-src
APTOPT=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$APTDIR"
        -o Dir::State::Lists="$APTDIR/lists" -o Dir::Cache="$APTDIR/cache"
        -o APT::Sandbox::User=root -q)

fetch_src() {  # fetch_src PKG DIR: unpack (with Debian's patches) the newest version that downloads
    local pkg=$1 dir=$2 v dsc
    [ -f "$dir/.unpacked" ] && return 0
    # the security index can name a version the mirror does not carry yet
    for v in $(apt-cache "${APTOPT[@]}" showsrc "$pkg" | awk '/^Version:/{print $2}' | sort -rV -u); do
        dsc="$SRC/${pkg}_${v#*:}.dsc"
        [ -f "$dsc" ] || (cd "$SRC" && apt-get "${APTOPT[@]}" source --download-only "$pkg=$v") || continue
        rm -rf "$dir"
        dpkg-source --no-check -x "$dsc" "$dir" >/dev/null
        echo "$pkg $v" >"$dir/.unpacked"
        say "$pkg $v unpacked"
        return 0
    done
    echo "no downloadable version of $pkg" >&2
    return 1
}

step_sources() {
    mkdir -p "$SRC" "$APTDIR/lists/partial" "$APTDIR/cache/archives/partial"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$APTDIR/deb-src.sources"
    elif [ -f /etc/apt/sources.list ]; then
        grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"$APTDIR/deb-src.list"
    else
        echo "no apt sources to derive deb-src entries from" >&2
        return 1
    fi
    local need=0 p
    for p in libjpeg-turbo libpng1.6 libmspack; do [ -f "$SRC/$p/.unpacked" ] || need=1; done
    if ((need)); then
        [ -n "$(find "$APTDIR/lists" -maxdepth 1 -name '*Sources*' -mmin -1440 2>/dev/null)" ] ||
            apt-get "${APTOPT[@]}" update
        fetch_src libjpeg-turbo "$SRC/libjpeg-turbo"
        fetch_src libpng1.6 "$SRC/libpng1.6"
        fetch_src libmspack "$SRC/libmspack"
    fi
}

built() { [ -f "$PREFIX/.stamp-$1" ] && [ "$(cat "$PREFIX/.stamp-$1")" = "$(cat "$2/.unpacked" 2>/dev/null || echo "$2")" ]; }
stamp() { cat "$2/.unpacked" 2>/dev/null >"$PREFIX/.stamp-$1" || echo "$2" >"$PREFIX/.stamp-$1"; }

cmake_dep() {  # cmake_dep NAME SRCDIR cmake-args...
    local name=$1 dir=$2
    shift 2
    built "$name" "$dir" && return 0
    say "building $name for Windows"
    rm -rf "$BUILD/$name"
    cmake -S "$dir" -B "$BUILD/$name" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$TC" -DWIN_DEPS_PREFIX="$PREFIX" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$PREFIX" -Wno-dev "$@" >"$BUILD/$name.log"
    cmake --build "$BUILD/$name" -j"$JOBS" >>"$BUILD/$name.log"
    cmake --install "$BUILD/$name" >>"$BUILD/$name.log"
    stamp "$name" "$dir"
}

build_mspack() {  # autotools; its config.h turns on 64-bit off_t, which users must match
    local dir=$SRC/libmspack
    built mspack "$dir" && return 0
    say "building libmspack for Windows"
    rm -rf "$BUILD/mspack" && mkdir -p "$BUILD/mspack"
    (cd "$BUILD/mspack" &&
        "$dir/configure" --host=$HOST CC=$HOST-gcc-posix --prefix="$PREFIX" \
            --disable-shared --enable-static >../mspack.log &&
        make -j"$JOBS" >>../mspack.log && make install >>../mspack.log)
    stamp mspack "$dir"
}

step_deps() {
    mkdir -p "$PREFIX" "$BUILD"
    cmake_dep jpeg "$SRC/libjpeg-turbo" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON -DWITH_TURBOJPEG=OFF
    # FindZLIB would pick libz.dll.a: name the static archive
    cmake_dep png "$SRC/libpng1.6" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
        -DZLIB_LIBRARY=/usr/$HOST/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$HOST/include
    build_mspack
    # GoogleTest uses Win32 threads on MinGW anyway; this only drops -lpthread
    cmake_dep gtest /usr/src/googletest -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=ON
}

steps=("$@")
((${#steps[@]})) || steps=(apt sources deps)
for s in "${steps[@]}"; do "step_$s"; done
