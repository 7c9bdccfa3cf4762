#!/usr/bin/env bash
# Installs what is missing, builds the viewer for Windows, writes the sample SD
# card and starts the viewer under Wine on one of its event folders.
# With an X display ($DISPLAY) the viewer opens there; without one it runs on a
# private Xvfb display and a screenshot is written after a few seconds.
#
# Sound plays through the user's own sound system when there is one (a PulseAudio
# or PipeWire server, or an ALSA sound card); without one it goes into the test
# set-up's private sound server, which plays at real speed into nothing.
#
# ORVELLE_BUILD  build folder root (default: build/ in the tree)
# ORVELLE_SOUND  system or private: overrides the choice above
set -euo pipefail

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ORVELLE_BUILD:-$TOP/build}
WIN=$BUILD/windows
NATIVE=$BUILD/native-release
CARD=$BUILD/sample-card
SHOT=$BUILD/viewer-screenshot.png

"$TOP/tools/setup.sh"
mkdir -p "$WIN" "$NATIVE"
cmake -S "$TOP" -B "$WIN" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$TOP/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$WIN" -j"$(nproc)" --target OrvelleViewer
cmake -S "$TOP" -B "$NATIVE" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release >/dev/null

args=()
if cmake --build "$NATIVE" -j"$(nproc)" --target orvelle-sample-card >/dev/null 2>&1; then
    rm -rf "$CARD"
    "$NATIVE/bin/orvelle-sample-card" "$CARD"
    folder=$(find "$CARD" -name Video.dvt -printf '%h\n' | sort | head -n 1)
    [ -n "$folder" ] && args=("Z:${folder//\//\\}")
    echo "sample card: $CARD"
fi

# A PulseAudio or PipeWire server answers on its socket; an ALSA card is listed.
have_sound_system() {
    local socket=${PULSE_SERVER:-${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native}
    case $socket in unix:*) socket=${socket#unix:} ;; */*) ;; *) return 0 ;; esac   # a network server
    [ -S "$socket" ] && return 0
    [ -r /proc/asound/cards ] && grep -q '^ *[0-9]' /proc/asound/cards
}
if [ -z "${ORVELLE_SOUND:-}" ]; then
    if have_sound_system; then ORVELLE_SOUND=system; else ORVELLE_SOUND=private; fi
fi
export ORVELLE_SOUND
echo "sound: $ORVELLE_SOUND (system: the user's sound system; private: real speed, no sound heard)"

export ORVELLE_WINE_STATE=$WIN/wine-state
if [ -n "${DISPLAY:-}" ]; then
    ORVELLE_X_DISPLAY=$DISPLAY exec "$TOP/cmake/wine-run.sh" "$WIN/bin/OrvelleViewer.exe" "${args[@]}"
fi
# No display: private Xvfb, a screenshot after the viewer has settled.
"$TOP/cmake/wine-run.sh" --setup >/dev/null
"$TOP/cmake/wine-run.sh" "$WIN/bin/OrvelleViewer.exe" "${args[@]}" &
viewer=$!
sleep 8
# From Xvfb's framebuffer file, which shows what a monitor would, popups
# included (a dump of the X root window shows Wine's popups as black boxes);
# trimmed to the window, without the empty desktop.
screen=$ORVELLE_WINE_STATE/Xvfb_screen0
if [ -f "$screen" ]; then
    /usr/bin/convert "xwd:$screen" -fuzz 3% -trim +repage "png:$SHOT"
else  # an Xvfb started before it kept its framebuffer in a file
    xwd -root -silent -display ":$(cat "$ORVELLE_WINE_STATE/display")" | /usr/bin/convert xwd:- -fuzz 3% -trim +repage "png:$SHOT"
fi
echo "no X display: the viewer runs on a private Xvfb display; screenshot: $SHOT"
echo "the viewer keeps running until it is closed or this script is interrupted (Ctrl+C)"
trap '"$TOP/cmake/wine-run.sh" --shutdown >/dev/null' EXIT
wait $viewer || true
