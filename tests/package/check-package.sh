#!/usr/bin/env bash
# Checks a release package as a user and a licensor would see it:
#   - it holds exactly the programs, the read-me and the notices, and matches SHA256SUMS;
#   - the package name, the viewer's version resource, `orvelle --version` and
#     the read-me give one version; the resource names the product and ORVELLE;
#   - THIRD-PARTY-NOTICES.txt has a section for every archive and start-up
#     object the linker put into the programs (from the linker maps);
#   - the relink kit links the packaged viewer again;
#   - the viewer from the zip starts under Wine and shows its window;
#   - the setup program installs and uninstalls the zip's files.
#
#   check-package.sh ZIP WINDOWS_BUILD_DIR
# Exit status 1 names each failed check.
set -uo pipefail

zip=$(realpath "$1")
win=$(realpath "$2")
TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
HOST=x86_64-w64-mingw32
export ORVELLE_WINE_STATE=$win/wine-state
wine_run=$TOP/cmake/wine-run.sh
work=$(mktemp -d "$win/package-check.XXXXXX")
trap '"$wine_run" --shutdown >/dev/null 2>&1; rm -rf "$work"' EXIT
failures=0

pass() { echo "ok: $*"; }
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

check_contents() {
    local expected="OrvelleViewer.exe README.txt THIRD-PARTY-NOTICES.txt orvelle.exe" listed
    listed=$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
    if [ "$listed" = "$expected" ]; then pass "contents: $expected"; else fail "contents: $listed"; fi
    if (cd "$(dirname "$zip")" && sha256sum --quiet -c SHA256SUMS); then
        pass "SHA256SUMS"
    else
        fail "SHA256SUMS does not match"
    fi
    python3 -m zipfile -e "$zip" "$work/unpacked"
}

# One value of the version resource, as the resource compiler prints it back.
resource_value() {  # resource_value EXE NAME
    "$HOST-windres" -i "$1" -O rc 2>/dev/null | sed -n "s/^ *VALUE \"$2\", \"\(.*\)\"\r*$/\1/p" | head -n 1
}

check_version() {
    local name version file_version tool
    name=$(basename "$zip")
    version=${name#OrvelleViewer-}
    version=${version%-win64.zip}
    file_version=$(resource_value "$work/unpacked/OrvelleViewer.exe" FileVersion)
    # "1, 0, 2, 0" shows as "1.0.2", as the version dialog formats it
    file_version=$(echo "$file_version" | awk -F', *' '{ print $1 "." $2 "." $3 }')
    tool=$("$wine_run" "$work/unpacked/orvelle.exe" --version | tr -d '\r')
    if [ "$file_version" = "$version" ] && [ "$tool" = "orvelle $version" ] &&
        grep -q "バージョン $version" "$work/unpacked/README.txt"; then
        pass "version $version in the name, the version resource, orvelle --version and README.txt"
    else
        fail "versions differ: name $version, resource '$file_version', tool '$tool'"
    fi
    if [ "$(resource_value "$work/unpacked/OrvelleViewer.exe" CompanyName)" = ORVELLE ] &&
        [ "$(resource_value "$work/unpacked/OrvelleViewer.exe" ProductName)" = "ORVELLE Viewer" ]; then
        pass "the version resource names ORVELLE and the product"
    else
        fail "the version resource does not name ORVELLE and ORVELLE Viewer"
    fi
}

# Everything the linker took in: archives it took members from, and the
# start-up objects it loaded by absolute path.
linked_pieces() {  # linked_pieces MAP
    awk '/^Archive member included/ { on = 1; next }
         /^(Discarded input sections|Memory Configuration|Allocating common symbols)/ { on = 0 }
         on && match($0, /^[^ (]+\.a\(/) { print substr($0, 1, RLENGTH - 1) }
         $1 == "LOAD" && $2 ~ /^\/.*\.o$/ { print $2 }' "$1" | sort -u
}

# The notice section for one piece: by file name for the libraries setup.sh
# builds and ours, by the owning Debian package for the toolchain's.
notice_section() {  # notice_section PATH
    local path=$1 base owner
    base=$(basename "$path")
    awk -v key="$base" '$1 == key { $1 = ""; sub(/^ +/, ""); print; exit }' "$TOP/tools/package/libraries.txt" |
        grep . && return
    case $path in /*) ;; *) return ;; esac
    owner=$(dpkg -S "$(realpath "$path")" 2>/dev/null || dpkg -S "$path" 2>/dev/null) || return
    owner=${owner%%:*}
    awk -v key="package:$owner" '$1 == key { $1 = ""; sub(/^ +/, ""); print; exit }' \
        "$TOP/tools/package/libraries.txt"
}

# A section heading is the line between two rulers.
notice_headings() {
    tr -d '\r' <"$work/unpacked/THIRD-PARTY-NOTICES.txt" |
        awk -v ruler="$(printf '%.0s-' {1..72})" '{ line[NR] = $0 }
            END { for (i = 2; i < NR; ++i) if (line[i - 1] == ruler && line[i + 1] == ruler && line[i] != ruler) print line[i] }'
}

check_notices() {
    local headings program piece section missing=0 count=0
    headings=$(notice_headings)
    for program in OrvelleViewer orvelle; do
        [ -s "$win/bin/$program.map" ] || { fail "no linker map $win/bin/$program.map"; return; }
        while read -r piece; do
            count=$((count + 1))
            section=$(notice_section "$piece")
            if [ -z "$section" ]; then
                fail "$program: nothing in tools/package/libraries.txt covers $piece"
                missing=1
            elif [ "$section" != - ] && ! grep -q "^$section\( \|$\)" <<<"$headings"; then
                fail "$program: THIRD-PARTY-NOTICES.txt has no section \"$section\" for $piece"
                missing=1
            fi
        done < <(linked_pieces "$win/bin/$program.map")
    done
    ((missing)) || pass "notices cover all $count linked archives and start-up objects"
}

# The viewer from the zip, started as a user would, must show its window; the
# desktop's plain background is cut away and what is left must be window-sized.
check_starts() {
    local viewer display raw geometry W H
    "$wine_run" --setup >/dev/null || { fail "Wine does not start"; return; }
    display=":$(cat "$ORVELLE_WINE_STATE/display")"
    "$wine_run" "$work/unpacked/OrvelleViewer.exe" >"$work/viewer.log" 2>&1 &
    viewer=$!
    sleep 8
    if ! kill -0 "$viewer" 2>/dev/null; then
        fail "the viewer ended by itself under Wine: $(head -c 400 "$work/viewer.log")"
        return
    fi
    raw=$win/package-check-screen.png  # kept for a look
    if [ -f "$ORVELLE_WINE_STATE/Xvfb_screen0" ]; then  # Xvfb's own framebuffer, where it keeps one
        /usr/bin/convert "xwd:$ORVELLE_WINE_STATE/Xvfb_screen0" "png:$raw"
    else
        xwd -root -silent -display "$display" | /usr/bin/convert xwd:- "png:$raw"
    fi
    geometry=$(/usr/bin/convert "$raw" -fuzz 3% -trim -format '%w %h' info:)
    read -r W H <<<"$geometry"
    kill "$viewer" 2>/dev/null
    wait "$viewer" 2>/dev/null
    "$wine_run" --shutdown >/dev/null  # ends the viewer's Wine processes
    if ((W >= 640 && H >= 400)) && ! grep -q '^wine: Unhandled' "$work/viewer.log"; then
        pass "the viewer starts under Wine (window ${W}x${H})"
    else
        fail "the viewer shows no window under Wine (${W}x${H} drawn)"
    fi
}

# The setup program beside the zip, run silently as the user: the zip's files,
# the uninstaller and the start-menu entry appear; the uninstaller takes them
# away again.
check_installer() {
    local setup=${zip%.zip}-setup.exe users folder name missing=0
    if [ ! -f "$setup" ]; then
        echo "skipped: no setup program beside the zip"
        return
    fi
    users=$ORVELLE_WINE_STATE/prefix/drive_c/users
    "$wine_run" "$setup" /S >/dev/null 2>&1 || { fail "the setup program failed under Wine"; return; }
    folder=$(find "$users" -path '*/AppData/Local/Programs/ORVELLE Viewer' -type d 2>/dev/null | head -n 1)
    [ -n "$folder" ] || { fail "the setup program installed nothing"; return; }
    for name in OrvelleViewer.exe orvelle.exe README.txt THIRD-PARTY-NOTICES.txt; do
        cmp -s "$folder/$name" "$work/unpacked/$name" || { fail "installed $name differs from the zip's"; missing=1; }
    done
    [ -f "$folder/Uninstall.exe" ] || { fail "no uninstaller"; missing=1; }
    find "$users" -name 'ORVELLE Viewer.lnk' | grep -q . || { fail "no start-menu entry"; missing=1; }
    ((missing)) || pass "the setup program installs the zip's files, the uninstaller and the start-menu entry"
    # The uninstaller hands over to a copy of itself in the temporary folder
    # and returns at once: wait for the copy's work.
    "$wine_run" "$folder/Uninstall.exe" /S >/dev/null 2>&1
    local tries
    for tries in $(seq 30); do
        [ -d "$folder" ] || break
        sleep 1
    done
    if [ -d "$folder" ] || find "$users" -name 'ORVELLE Viewer.lnk' | grep -q .; then
        fail "the uninstaller left files: $(ls "$folder" 2>/dev/null | tr '\n' ' ')"
    else
        pass "the uninstaller removes them"
    fi
    rm -rf "$folder"
}

# The relink kit beside the zip, linked with the libmspack the build used,
# must give the very program in the zip (compared with debug information and
# header time removed from both).
check_relink() {
    local kit=${zip%.zip}-relink.zip mspack=${ORVELLE_CACHE:-${HOME}/.cache/orvelle}/win-deps/lib/libmspack.a
    if [ ! -f "$kit" ]; then
        fail "no relink kit beside the zip (libmspack is under the LGPL)"
        return
    fi
    python3 -m zipfile -e "$kit" "$work/relink"
    if ! sh "$work/relink/link.sh" "$mspack" >"$work/relink.log" 2>&1; then
        fail "the relink kit does not link: $(tail -n 5 "$work/relink.log")"
        return
    fi
    SOURCE_DATE_EPOCH=0 "$HOST-strip" --strip-all -o "$work/relinked.exe" "$work/relink/OrvelleViewer.exe"
    SOURCE_DATE_EPOCH=0 "$HOST-strip" --strip-all -o "$work/packaged.exe" "$work/unpacked/OrvelleViewer.exe"
    if cmp -s "$work/relinked.exe" "$work/packaged.exe"; then
        pass "the relink kit links the packaged viewer again"
    else
        fail "the relink kit links a program other than the packaged viewer"
    fi
}

check_contents
check_relink
check_version
check_notices
check_starts
check_installer
((failures == 0)) || { echo "$failures package check(s) failed"; exit 1; }
echo "package checks passed: $(basename "$zip")"
