#!/usr/bin/env bash
# Builds the release package from the tree's commit:
#   dist/OrvelleViewer-<version>-win64.zip   OrvelleViewer.exe, orvelle.exe,
#                                            README.txt, THIRD-PARTY-NOTICES.txt
#   dist/OrvelleViewer-<version>-win64-setup.exe   the same files as a per-user
#                                            setup program (with makensis)
#   dist/OrvelleViewer-<version>-win64-relink.zip  objects, link command and
#                                            libmspack source, for the LGPL
#   dist/SHA256SUMS
# The same commit gives the same bytes: the programs carry no link time (the
# PE header gets the commit's time), debug information with build paths is
# stripped, and the zip's entries are sorted and dated by the commit.
# The version is project(VERSION) in CMakeLists.txt, read from the build.
#
#   tools/package.sh
#
# ORVELLE_BUILD  build folder root (default: build/ in the tree); the Windows
#                build is $ORVELLE_BUILD/windows, shared with tools/test.sh
# ORVELLE_DIST   output folder (default: dist/ in the tree)
# SOURCE_DATE_EPOCH  the package's date (default: the commit's time)
set -euo pipefail

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ORVELLE_BUILD:-$TOP/build}
WIN=$BUILD/windows
DIST=${ORVELLE_DIST:-$TOP/dist}
HOST=x86_64-w64-mingw32
PROGRAMS=(OrvelleViewer orvelle)

say() { printf '== %s\n' "$*"; }
die() { echo "package.sh: $*" >&2; exit 1; }

commit_time() {
    if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
        SOURCE_DATE_EPOCH=$(git -C "$TOP" log -1 --format=%ct 2>/dev/null) ||
            die "not a git checkout: set SOURCE_DATE_EPOCH"
    fi
    export SOURCE_DATE_EPOCH
    if [ -n "$(git -C "$TOP" status --porcelain --untracked-files=no 2>/dev/null)" ]; then
        say "warning: the tree has uncommitted changes; the package is not exactly commit $(git -C "$TOP" rev-parse --short HEAD)"
    fi
}

cache_value() {  # cache_value NAME: a value from the build folder's CMake cache
    sed -n "s/^$1:[A-Z]*=//p" "$WIN/CMakeCache.txt"
}

build_programs() {
    mkdir -p "$WIN"
    cmake -S "$TOP" -B "$WIN" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-w64-x86_64.cmake" \
        >"$WIN/package-configure.log" 2>&1 || { tail -n 40 "$WIN/package-configure.log"; die "configure failed"; }
    # The package is what the tests ran on, and carries none of the recorder's files.
    case $(cache_value CMAKE_BUILD_TYPE) in
    "" | RelWithDebInfo | Release) ;;  # empty: CMakeLists.txt makes it RelWithDebInfo
    *) die "$WIN is a $(cache_value CMAKE_BUILD_TYPE) build; package a RelWithDebInfo or Release one" ;;
    esac
    [ -z "$(cache_value ORVELLE_CABINET)" ] || die "$WIN embeds a cabinet (ORVELLE_CABINET); the package must not"
    cmake --build "$WIN" -j"$(nproc)" --target "${PROGRAMS[@]}" >"$WIN/package-build.log" 2>&1 ||
        { grep -E -A5 'error|FAILED' "$WIN/package-build.log" | head -n 60; die "build failed"; }
}

product_version() {
    local header=$WIN/generated/ProductVersion.h
    sed -n 's/^#define ORVELLE_VERSION_TEXT "\(.*\)"$/\1/p' "$header"
}

# Windows text: CRLF line ends, and a byte-order mark so that every Notepad
# reads the Japanese as UTF-8.
windows_text() {  # windows_text < in > out
    printf '\xef\xbb\xbf'
    sed 's/\r$//; s/$/\r/'
}

stage_files() {  # stage_files FOLDER VERSION
    local stage=$1 version=$2 program
    rm -rf "$stage" && mkdir -p "$stage"
    for program in "${PROGRAMS[@]}"; do
        # strip takes the PE header's time from SOURCE_DATE_EPOCH
        "$HOST-strip" --strip-all -o "$stage/$program.exe" "$WIN/bin/$program.exe"
    done
    sed "s/@VERSION@/$version/g" "$TOP/tools/package/README.txt" | windows_text >"$stage/README.txt"
    "$TOP/tools/package/notices.sh" "$version" | windows_text >"$stage/THIRD-PARTY-NOTICES.txt"
}

"$TOP/tools/setup.sh" >/dev/null
commit_time
say "building the programs in $WIN"
build_programs
VERSION=$(product_version)
[ -n "$VERSION" ] || die "no version in $WIN/generated/ProductVersion.h"
NAME=OrvelleViewer-$VERSION-win64
STAGE=$WIN/package/$NAME
stage_files "$STAGE" "$VERSION"
mkdir -p "$DIST"
python3 "$TOP/tools/package/zip.py" "$DIST/$NAME.zip" "$STAGE"
outputs=("$NAME.zip")
"$TOP/tools/package/relink-kit.sh" "$WIN" "$STAGE-relink" "$VERSION"
python3 "$TOP/tools/package/zip.py" "$DIST/$NAME-relink.zip" "$STAGE-relink"
outputs+=("$NAME-relink.zip")
if command -v makensis >/dev/null; then
    makensis -V2 -DVERSION="$VERSION" -DSTAGE="$STAGE" -DICON="$TOP/resources/AppIcon.ico" -DOUTFILE="$DIST/$NAME-setup.exe" \
        "$TOP/tools/package/installer.nsi" >"$WIN/package-installer.log" 2>&1 ||
        { cat "$WIN/package-installer.log"; die "makensis failed"; }
    outputs+=("$NAME-setup.exe")
else
    say "no makensis (Debian package nsis): no setup program"
fi
(cd "$DIST" && sha256sum "${outputs[@]}" >SHA256SUMS)
say "package: ${outputs[*]} in $DIST"
cat "$DIST/SHA256SUMS"
