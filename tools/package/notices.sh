#!/usr/bin/env bash
# Writes THIRD-PARTY-NOTICES.txt to standard output: the licence texts of every
# library linked into the programs, taken from the Debian source packages that
# tools/setup.sh unpacked and from the installed toolchain packages' copyright
# files. A missing text is an error, never a silently shorter file.
#
#   notices.sh VERSION
#
# ORVELLE_CACHE  cache folder of tools/setup.sh (default ~/.cache/orvelle)
# Each section starts with a ruler and a heading line whose first words are the
# section name listed in libraries.txt; the package check relies on that.
set -euo pipefail

VERSION=${1:?usage: notices.sh VERSION}
SRC=${ORVELLE_CACHE:-${HOME}/.cache/orvelle}/src
DOC=/usr/share/doc
RULER=------------------------------------------------------------------------

need() {
    local file
    for file in "$@"; do
        [ -s "$file" ] || { echo "notices.sh: missing licence text: $file" >&2; exit 1; }
    done
}

source_version() {  # "libjpeg-turbo 1:2.1.5-2" as tools/setup.sh recorded it
    need "$SRC/$1/.unpacked"
    cat "$SRC/$1/.unpacked"
}

package_version() {
    dpkg-query -W -f='${Version}' "$1" 2>/dev/null || { echo "notices.sh: package $1 not installed" >&2; exit 1; }
}

section() {  # section HEADING
    printf '\n\n%s\n%s\n%s\n\n' "$RULER" "$1" "$RULER"
}

# Lines from the first line matching FROM up to, not including, the first later
# line matching TO; fails when either is missing, so a reworded file is noticed.
excerpt() {  # excerpt FILE FROM TO
    awk -v from="$2" -v to="$3" '
        !on && $0 ~ from { on = 1 }
        on && seen && $0 ~ to { done = 1; exit }
        on { print; seen = 1 }
        END { exit !(done) }' "$1" || { echo "notices.sh: no '$2' ... '$3' in $1" >&2; exit 1; }
}

header() {
    cat <<EOF
ORVELLE Viewer ${VERSION}: third-party notices

OrvelleViewer.exe and orvelle.exe are statically linked with the following
libraries. Their copyright notices and licence texts follow, as distributed
in the Debian source and binary packages the programs were built from.

  libjpeg-turbo            JPEG decoding (IJG, Modified BSD and zlib licences)
  libpng                   PNG decoding (libpng licence)
  zlib                     compression for libpng (zlib licence)
  libmspack                cabinet extraction, OrvelleViewer.exe only
                           (GNU Lesser General Public License 2.1)
  mingw-w64 runtime        C runtime start-up, winpthreads, import libraries
  GCC runtime libraries    libstdc++, libgcc (GPL 3 with the GCC Runtime
                           Library Exception 3.1)

This software is based in part on the work of the Independent JPEG Group.
EOF
}

libjpeg_turbo() {
    need "$SRC/libjpeg-turbo/LICENSE.md" "$SRC/libjpeg-turbo/README.ijg"
    section "libjpeg-turbo (Debian source package $(source_version libjpeg-turbo))"
    cat "$SRC/libjpeg-turbo/LICENSE.md"
    printf '\n\nThe IJG License, from README.ijg of the libjpeg-turbo source:\n\n'
    excerpt "$SRC/libjpeg-turbo/README.ijg" '^LEGAL ISSUES$' '^REFERENCES$'
}

libpng() {
    need "$SRC/libpng1.6/LICENSE"
    section "libpng (Debian source package $(source_version libpng1.6))"
    cat "$SRC/libpng1.6/LICENSE"
}

zlib() {
    need "$DOC/libz-mingw-w64-dev/copyright"
    section "zlib (Debian package libz-mingw-w64-dev $(package_version libz-mingw-w64-dev))"
    cat "$DOC/libz-mingw-w64-dev/copyright"
}

libmspack() {
    local version upstream
    need "$SRC/libmspack/COPYING.LIB" "$SRC/libmspack/debian/copyright"
    version=$(source_version libmspack)
    version=${version#libmspack }
    upstream=${version%-*}
    section "libmspack (Debian source package libmspack ${version})"
    cat <<EOF
OrvelleViewer.exe contains libmspack ${upstream} as the Debian source package
libmspack ${version} has it, with no changes of ours. libmspack is free
software under the GNU Lesser General Public License, version 2.1 (text
below).

Its complete source code is the Debian source package, three files:
  libmspack_${version}.dsc
  libmspack_${upstream}.orig.tar.gz
  libmspack_${version}.debian.tar.xz
from https://deb.debian.org/debian/pool/main/libm/libmspack/ or, kept for
good, https://snapshot.debian.org/package/libmspack/${version}/ ; unpack them
with "dpkg-source -x libmspack_${version}.dsc". The upstream project is at
https://www.cabextract.org.uk/libmspack/ . ORVELLE also gives a copy of this
source, on request and at no more than the cost of the medium, for at least
three years after distributing this version of the viewer.

Relinking with a modified libmspack: the viewer is linked statically, so
changing the library means linking the viewer again. The relink kit published
beside this package, OrvelleViewer-${VERSION}-win64-relink.zip, holds the
viewer's object files, the link command and this libmspack source; its
README.txt gives the steps (build the changed libmspack as a static library
for x86_64-w64-mingw32, then run link.sh with it).

EOF
    cat "$SRC/libmspack/debian/copyright"
    printf '\n\n'
    cat "$SRC/libmspack/COPYING.LIB"
}

mingw_w64() {
    need "$DOC/mingw-w64-x86-64-dev/copyright"
    section "mingw-w64 runtime (Debian package mingw-w64-x86-64-dev $(package_version mingw-w64-x86-64-dev))"
    cat "$DOC/mingw-w64-x86-64-dev/copyright"
}

gcc_runtime() {
    local copyright=$DOC/gcc-mingw-w64-base/copyright
    need "$copyright"
    section "GCC runtime libraries (Debian package g++-mingw-w64-x86-64-posix $(package_version g++-mingw-w64-x86-64-posix))"
    cat <<'EOF'
The programs contain parts of libstdc++ and libgcc, which GCC combines with
the code it compiles. They are under the GNU General Public License, version
3, with the GCC Runtime Library Exception, version 3.1, which allows this
combination to be distributed under terms of our choice. From the copyright
file of the Debian package:

EOF
    excerpt "$copyright" '^GCC is Copyright' '^The libbacktrace library'
    excerpt "$copyright" '^GCC RUNTIME LIBRARY EXCEPTION$' '^libquadmath'
}

# Debian's copyright files are UTF-8 already; the package turns the line ends.
header
libjpeg_turbo
libpng
zlib
libmspack
mingw_w64
gcc_runtime
