#!/usr/bin/env bash
# Runs every test: installs what is missing (tools/setup.sh), then
#   1. the portable core natively with AddressSanitizer and UndefinedBehaviorSanitizer,
#   2. the fuzz targets (clang, libFuzzer) for a short bounded time each,
#   3. the Windows build's tests under Wine on a private Xvfb display,
#   4. the release package: built from the Windows build and again in a build
#      folder of its own, the two zips compared byte for byte, then checked
#      (tests/package/check-package.sh).
# Exit status is non-zero when any step fails.
#
#   tools/test.sh [native|fuzz|windows|package]...   (default: all four)
#
# ORVELLE_BUILD  build folder root (default: build/ in the tree)
# FUZZ_SECONDS   time per fuzz target (default 30)
set -uo pipefail

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ORVELLE_BUILD:-$TOP/build}
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
JOBS=$(nproc)
failed=()

say() { printf '\n==== %s\n' "$*"; }

configure_and_build() {  # configure_and_build DIR cmake-args...
    local dir=$1
    shift
    mkdir -p "$dir"
    if ! cmake -S "$TOP" -B "$dir" -G Ninja -Wno-dev "$@" >"$dir/configure.log" 2>&1; then
        tail -n 40 "$dir/configure.log"
        return 1
    fi
    if ! cmake --build "$dir" -j"$JOBS" >"$dir/build.log" 2>&1; then
        grep -E -A5 'error|FAILED' "$dir/build.log" | head -n 60
        return 1
    fi
}

step_native() {
    say "native tests (ASan + UBSan)"
    mkdir -p "$BUILD"
    configure_and_build "$BUILD/native" -DORVELLE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DORVELLE_BENCHMARKS=OFF || return 1
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir "$BUILD/native" --output-on-failure -j"$JOBS"
}

# Fuzz corpora: the sample card's files, picked per target by name.
corpus_patterns() {
    case $1 in
    FuzzVideoArchive) echo '*.dvt *.dmv' ;;
    FuzzOneShot) echo '*.dpc' ;;
    FuzzDecodeJpeg) echo '*.jpg' ;;
    FuzzDecodePng) echo '*.png' ;;
    FuzzSettingsFile) echo 'TAVR.INI FIRMINFO.DAT' ;;
    FuzzCabinet) echo '*.cab' ;;
    FuzzWaveFile) echo '*.wav' ;;
    *) echo '*' ;;
    esac
}

step_fuzz() {
    say "fuzz targets (${FUZZ_SECONDS} s each)"
    mkdir -p "$BUILD"
    CC=clang CXX=clang++ configure_and_build "$BUILD/fuzz" -DORVELLE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DORVELLE_BENCHMARKS=OFF || return 1
    local pool=$BUILD/fuzz/corpus-pool
    rm -rf "$pool" && mkdir -p "$pool"
    local writer=$BUILD/fuzz/bin/orvelle-sample-card
    if [ -x "$writer" ]; then
        # small recordings: the bounded run should mutate, not wade through megabytes
        "$writer" --event "$pool/short.dvt" --frames 30 --width 64 --height 48 >/dev/null
        "$writer" --chapter "$pool/short.dmv" --frames 20 --width 64 --height 48 >/dev/null
        "$writer" --oneshot "$pool/small.dpc" --width 64 --height 48 >/dev/null
        "$writer" --jpeg "$pool/frame.jpg" --width 64 --height 48 >/dev/null
        [ -x "$BUILD/fuzz/bin/orvelle" ] && "$BUILD/fuzz/bin/orvelle" sound "$pool/short.dvt" "$pool/short.wav" >/dev/null
        mkdir -p "$pool/card"
        "$writer" "$pool/card" >/dev/null
    fi
    cp "$TOP"/resources/images/*.png "$pool/" 2>/dev/null || true
    find "$TOP/tests/data" -type f -exec cp {} "$pool/" \; 2>/dev/null || true
    local target name rc=0 runs=0
    for target in "$BUILD"/fuzz/bin/Fuzz*; do
        [ -x "$target" ] || continue
        name=$(basename "$target")
        local corpus=$BUILD/fuzz/corpus/$name
        rm -rf "$corpus" && mkdir -p "$corpus"
        for p in $(corpus_patterns "$name"); do
            find "$pool" -type f -iname "$p" -size -2M -exec cp {} "$corpus/" \; 2>/dev/null
        done
        # keep the corpus small so the bounded run spends its time on mutations
        ls "$corpus" | tail -n +41 | while read -r f; do rm -f "$corpus/$f"; done
        if "$target" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=2048 -timeout=10 -print_final_stats=0 \
            -artifact_prefix="$BUILD/fuzz/$name-" "$corpus" >"$BUILD/fuzz/$name.log" 2>&1; then
            echo "$name: no finding in ${FUZZ_SECONDS} s ($(grep -oE 'Done [0-9]+ runs' "$BUILD/fuzz/$name.log" | tail -n 1))"
        else
            echo "$name: FINDING"
            tail -n 40 "$BUILD/fuzz/$name.log"
            rc=1
        fi
        runs=$((runs + 1))
    done
    echo "fuzz targets run: $runs"
    return $rc
}

step_windows() {
    say "Windows tests under Wine"
    mkdir -p "$BUILD"
    configure_and_build "$BUILD/windows" -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-w64-x86_64.cmake" \
        -DORVELLE_BENCHMARKS=OFF || return 1
    ctest --test-dir "$BUILD/windows" --output-on-failure
}

# The second build starts from nothing at another path, so that neither the
# build folder nor the time of the build can leak into the package unseen.
step_package() {
    say "release package (two builds, compared and checked)"
    local again=$BUILD/package-again zip
    ORVELLE_BUILD=$BUILD ORVELLE_DIST=$BUILD/dist "$TOP/tools/package.sh" || return 1
    rm -rf "$again"
    ORVELLE_BUILD=$again ORVELLE_DIST=$again/dist "$TOP/tools/package.sh" >/dev/null || return 1
    zip=$(awk '$2 ~ /-win64\.zip$/ { print $2 }' "$BUILD/dist/SHA256SUMS")
    if ! cmp "$BUILD/dist/SHA256SUMS" "$again/dist/SHA256SUMS"; then  # the zip and the setup program
        echo "the two builds give different packages (kept for comparison: $again)"
        return 1
    fi
    echo "the two builds give the same package"
    rm -rf "$again"
    "$TOP/tests/package/check-package.sh" "$BUILD/dist/$zip" "$BUILD/windows"
}

"$TOP/tools/setup.sh" || exit 1
steps=("$@")
((${#steps[@]})) || steps=(native fuzz windows package)
for s in "${steps[@]}"; do
    "step_$s" || failed+=("$s")
done
say "summary"
if ((${#failed[@]})); then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "all test steps passed: ${steps[*]}"
