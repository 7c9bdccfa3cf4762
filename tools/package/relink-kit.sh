#!/usr/bin/env bash
# Stages the relink kit: what a user needs to link OrvelleViewer.exe again with
# a libmspack of their own (the viewer is linked statically, and libmspack is
# under the LGPL): the viewer's objects and the other libraries without debug
# information, the link command, the libmspack source package and a read-me.
#
#   relink-kit.sh WINDOWS_BUILD_DIR OUTPUT_FOLDER VERSION
#
# The link command is the build's own, taken from Ninja, with paths made
# relative to the kit.
set -euo pipefail

WIN=$1
OUT=$2
VERSION=$3
SRC=${ORVELLE_CACHE:-${HOME}/.cache/orvelle}/src
HOST=x86_64-w64-mingw32
TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

die() { echo "relink-kit.sh: $*" >&2; exit 1; }

viewer_link_command() {
    local command
    command=$(ninja -C "$WIN" -t commands bin/OrvelleViewer.exe | tail -n 1)
    command=${command#: && }
    echo "${command% && :}"
}

# Each input file goes into objects/ by its name, debug information (which
# holds build paths) stripped; libmspack becomes the user's archive.
kit_arguments() {
    local token name arguments=()
    for token in $(viewer_link_command); do
        case $token in
        -Wl,-Map=* | -Wl,--out-implib,* | -g | -o) continue ;;
        bin/OrvelleViewer.exe) arguments+=(-o OrvelleViewer.exe) ;;
        */libmspack.a) arguments+=('"$MSPACK"') ;;
        *.obj | *.res | *.a)
            name=$(basename "$token")
            [ -f "$WIN/$token" ] && token=$WIN/$token
            [ -f "$token" ] || die "link input not found: $token"
            [ ! -e "$OUT/objects/$name" ] || die "two link inputs named $name"
            case $name in
            *.res) cp "$token" "$OUT/objects/$name" ;;
            *) "$HOST-strip" --strip-debug -o "$OUT/objects/$name" "$token" ;;
            esac
            arguments+=("objects/$name")
            ;;
        /*) arguments+=("$(basename "$token")") ;;  # the compiler driver
        *) arguments+=("$token") ;;
        esac
    done
    echo "${arguments[*]}"
}

write_link_script() {  # write_link_script ARGUMENTS
    cat >"$OUT/link.sh" <<EOF
#!/bin/sh
# Links OrvelleViewer.exe ${VERSION} from objects/ and the libmspack archive
# given, with Debian's mingw-w64 toolchain (g++-mingw-w64-x86-64-posix).
# See README.txt.
#   ./link.sh path/to/libmspack.a
set -e
MSPACK=\$(realpath "\${1:?usage: link.sh LIBMSPACK.a}")
cd "\$(dirname "\$0")"
$1
echo "linked: \$(pwd)/OrvelleViewer.exe"
EOF
    chmod 755 "$OUT/link.sh"
}

copy_mspack_source() {
    local version file
    version=$(cat "$SRC/libmspack/.unpacked")
    version=${version#libmspack }
    mkdir -p "$OUT/libmspack-source"
    for file in "libmspack_${version}.dsc" "libmspack_${version%-*}.orig.tar.gz" "libmspack_${version}.debian.tar.xz"; do
        [ -f "$SRC/$file" ] || die "libmspack source file missing: $SRC/$file"
        cp "$SRC/$file" "$OUT/libmspack-source/$file"
    done
}

rm -rf "$OUT" && mkdir -p "$OUT/objects"
arguments=$(kit_arguments)
write_link_script "$arguments"
copy_mspack_source
sed "s/@VERSION@/$VERSION/g" "$TOP/tools/package/RELINK.txt" >"$OUT/README.txt"
