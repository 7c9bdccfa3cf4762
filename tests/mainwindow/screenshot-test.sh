#!/usr/bin/env bash
# The viewer as a user sees it: OrvelleViewer.exe under Wine on the test
# display, started on an event folder, a video-memory folder and a one-shot
# folder of the sample card (for the one-shot folder the first miniature is
# clicked). Each screenshot is kept as viewer-<kind>.png in the output folder,
# and its pixels must show a frame in the picture area and drawn panels. The
# screen is read from Xvfb's framebuffer file, which shows popups too.
#
#   screenshot-test.sh WINE_RUN BIN_DIR OUT_DIR
set -euo pipefail
wine_run=$1
bin=$2
out=$3
convert=/usr/bin/convert
state=${ORVELLE_WINE_STATE:?}
mkdir -p "$out"
card=$out/screenshot-card
if [ ! -f "$card/TAVR.INI" ]; then
    "$wine_run" "$bin/orvelle-sample-card.exe" "Z:${card//\//\\}" >/dev/null
fi
"$wine_run" --setup >/dev/null
display=":$(cat "$state/display")"
screen=$state/Xvfb_screen0
[ -f "$screen" ] || { echo "no framebuffer file $screen (Xvfb without -fbdir)"; exit 1; }
failures=0

# Standard deviation and mean of a region (x y w h relative to the window).
region_stats() {
    "$convert" "$1" -crop "$(($4))x$(($5))+$(($2))+$(($3))" +repage -colorspace Gray -format '%[fx:standard_deviation] %[fx:mean]' info:
}

check() {  # check NAME SHOT X Y W H WHAT
    local stats deviation mean
    stats=$(region_stats "$2" "$3" "$4" "$5" "$6")
    deviation=${stats% *}
    mean=${stats#* }
    if awk -v d="$deviation" -v m="$mean" 'BEGIN { exit !(d > 0.04 && m < 0.9) }'; then
        echo "$1: $7 drawn (deviation $deviation, mean $mean)"
    else
        echo "$1: $7 NOT drawn (deviation $deviation, mean $mean)"
        failures=$((failures + 1))
    fi
}

shoot() {  # shoot NAME FOLDER [click]
    local name=$1 folder=$2 shot=$out/viewer-$1.png
    "$wine_run" "$bin/OrvelleViewer.exe" "Z:${folder//\//\\}" >/dev/null 2>&1 &
    local viewer=$!
    sleep 6
    local raw=$out/viewer-$name-screen.png
    "$convert" "xwd:$screen" "png:$raw"
    # The window is what differs from the desktop's plain background.
    local geometry
    geometry=$("$convert" "$raw" -fuzz 3% -trim -format '%w %h %X %Y' info:)
    read -r W H X Y <<<"$geometry"
    X=${X#+}
    Y=${Y#+}
    if [ "${3:-}" = click ]; then
        # the first miniature of the strip at the window's foot
        DISPLAY=$display xdotool mousemove $((X + 60)) $((Y + H - 45)) click 1
        sleep 3
        "$convert" "xwd:$screen" "png:$raw"
    fi
    "$convert" "$raw" -crop "${W}x${H}+${X}+${Y}" +repage "png:$shot"
    rm -f "$raw"
    echo "$name: window ${W}x${H} at ${X},${Y}; screenshot $shot"
    check "$name" "$shot" 40 80 560 340 "picture area"
    check "$name" "$shot" "W - 200" 40 190 150 "information panel"
    check "$name" "$shot" "W - 200" "H - 330" 190 100 "configuration panel"
    if [ "${3:-}" = click ]; then
        check "$name" "$shot" 10 "H - 85" "W - 20" 60 "thumbnail strip"
    else
        check "$name" "$shot" 10 "H - 150" "W - 20" 55 "console panel"
    fi
    kill "$viewer" 2>/dev/null || true
    wait "$viewer" 2>/dev/null || true
    "$wine_run" --shutdown >/dev/null  # ends the viewer's Wine processes
    "$wine_run" --setup >/dev/null
}

shoot event "$card/EVENT/EV000001"
shoot video "$card/VIDEO"
shoot oneshot "$card/ONESHOT" click
if ((failures)); then
    echo "$failures regions not drawn"
    exit 1
fi
echo "all screenshots drawn"
