#!/bin/bash
# CMAKE_CROSSCOMPILING_EMULATOR for the mingw build: runs a Windows exe under Wine
# on one shared Xvfb with one persistent wineserver.
#   wine-run.sh prog.exe args...   run it (starts Xvfb/wineserver/prefix if needed)
#   wine-run.sh --setup            only start them (CTest fixture)
#   wine-run.sh --shutdown         stop wineserver and Xvfb (CTest fixture)
# State: $ORVELLE_WINE_STATE (default /tmp/orvelle-wine-$UID); DISPLAY is in $state/display.
# Sound: programs play into a private PulseAudio server (started with Xvfb) whose
# only sink takes samples at the pace of a sound card and plays them nowhere, so
# the sound position is a real-time clock.
#   ORVELLE_SOUND_CAPTURE=FILE: what that sink played during the run is appended
#     to FILE (emptied first): raw unsigned 8-bit mono 11025 Hz, the recordings'
#     own format, so the bytes are the program's; silence where nothing played.
#   ORVELLE_SOUND=system: the user's own sound system instead (PulseAudio,
#     PipeWire or ALSA's default, as Wine chooses); no private server.
# ORVELLE_X_DISPLAY=:N: run on that X display instead of the private Xvfb.
# Programs see ORVELLE_FRAMEBUFFER: the private Xvfb's screen as an XWD file.
set -euo pipefail
state=${ORVELLE_WINE_STATE:-/tmp/orvelle-wine-$(id -u)}
mkdir -p "$state"
export WINEPREFIX=${WINEPREFIX:-$state/prefix}
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# no Mono/Gecko install prompts, no .desktop/menu files written into $HOME
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}
# Japanese code page (932) for the narrow-text calls, as on the users' systems.
if locale -a 2>/dev/null | grep -qx 'ja_JP.utf8'; then export LANG=ja_JP.UTF-8; fi
sound=${ORVELLE_SOUND:-private}
pulse=$state/pulse
if [ "$sound" = private ]; then
  export PULSE_SERVER=unix:$pulse/native
  export PULSE_COOKIE=$pulse/cookie   # not in $HOME
  unset PULSE_SINK
fi

xvfb_alive() { [ -s "$state/xvfb.pid" ] && kill -0 "$(cat "$state/xvfb.pid")" 2>/dev/null; }
pulse_alive() { [ -s "$pulse/pid" ] && kill -0 "$(cat "$pulse/pid")" 2>/dev/null; }

# The private sound server: a null sink in the recordings' format, so nothing is
# converted and a capture holds the very bytes played; norewinds, because a
# rewind re-mixes samples that the capture has already taken. Its home, runtime
# and state folders are in $state, so it runs as root too and leaves $HOME alone.
# Loaded sink first: once the socket exists, clients find the sink.
start_pulse() {
  pulse_alive && return 0
  command -v pulseaudio >/dev/null ||
    { echo "wine-run: pulseaudio is missing (tools/setup.sh apt installs it)" >&2; exit 1; }
  rm -rf "$pulse" && mkdir -p "$pulse"
  HOME=$pulse PULSE_RUNTIME_PATH=$pulse PULSE_STATE_PATH=$pulse setsid pulseaudio -n --daemonize=no \
    --use-pid-file=no --exit-idle-time=-1 --realtime=no --high-priority=no --log-target=stderr \
    -L "module-null-sink sink_name=orvelle format=u8 rate=11025 channels=1 norewinds=1" \
    -L "module-native-protocol-unix socket=$pulse/native auth-anonymous=1" \
    </dev/null >"$pulse/log" 2>&1 9>&- &
  echo $! >"$pulse/pid"
  for _ in $(seq 100); do [ -S "$pulse/native" ] && return 0; sleep 0.05; done
  echo "wine-run: PulseAudio failed, see $pulse/log" >&2
  exit 1
}

# Records the sink for this run. Waits until the recording runs, so that nothing
# the program plays at once is missed; latency 20 ms, so the file is current.
capture_pid=
start_capture() {
  [ "$sound" = private ] && [ -n "${ORVELLE_SOUND_CAPTURE:-}" ] || return 0
  : >"$ORVELLE_SOUND_CAPTURE"
  parec -d orvelle.monitor --raw --format=u8 --rate=11025 --channels=1 --latency-msec=20 \
    </dev/null >>"$ORVELLE_SOUND_CAPTURE" 2>"$pulse/parec.log" &
  capture_pid=$!
  for _ in $(seq 100); do [ -s "$ORVELLE_SOUND_CAPTURE" ] && return 0; sleep 0.02; done
  echo "wine-run: the sound capture does not run, see $pulse/parec.log" >&2
}

# One-time prefix settings: Japanese font aliases + CJK fallback for Tahoma,
# no crash dialog (a crashing test would wait for a click until its timeout),
# virtual desktop (without a WM each window hide costs ~2 s under Xvfb), no
# game-controller bus (its SDL thread polls every few milliseconds, about 1.5 %
# of a core for the whole life of the environment, loading timing tests).
# Written as UTF-16 .reg: regedit reads 8-bit files in the ANSI code page,
# which would mangle the Japanese value names.
configure_prefix() {
  # Debian's fonts-wine files are not picked up from /usr/share/wine/fonts:
  # link them into C:\windows\Fonts (Marlett = caption buttons, Tahoma = UI).
  ln -sf /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  local link
  link=$(printf 'ipagp.ttf,IPAPGothic\0\0' | iconv -t UTF-16LE | od -An -tx1 -v | tr -s ' \n' ',,' | sed 's/^,//;s/,$//')
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE <<REG; } > "$state/prefix.reg"
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"MS UI Gothic"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]
"Tahoma"=hex(7):$link
"Tahoma Bold"=hex(7):$link

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"Default"="1280x1024"

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\winebus]
"Enable SDL"=dword:00000000
REG
  wine regedit /S "$(winepath -w "$state/prefix.reg" 2>/dev/null)"
}

start_env() {  # idempotent, serialised with flock (ctest -j)
  exec 9>"$state/lock"
  flock 9
  if [ -n "${ORVELLE_X_DISPLAY:-}" ]; then
    : # the user's own display: no Xvfb
  elif ! xvfb_alive; then
    rm -f "$state/display"
    # -fbdir: the screen is also kept in $state/Xvfb_screen0 (XWD), which, unlike
    # a capture through the X server, shows Wine's popups (menus, boxes, dialogs).
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -fbdir "$state" \
      3>"$state/display" </dev/null >"$state/xvfb.log" 2>&1 9>&- &
    echo $! > "$state/xvfb.pid"
    for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
    [ -s "$state/display" ] || { echo "wine-run: Xvfb failed, see $state/xvfb.log" >&2; exit 1; }
  fi
  if [ -n "${ORVELLE_X_DISPLAY:-}" ]; then
    export DISPLAY=$ORVELLE_X_DISPLAY
  else
    export DISPLAY=":$(cat "$state/display")"
    if [ -f "$state/Xvfb_screen0" ]; then export ORVELLE_FRAMEBUFFER="$state/Xvfb_screen0"; fi
    # A desktop's X server carries resources (xrdb); a bare Xvfb has none, and
    # then Xlib reads its resource files anew at every lookup, which Wine makes
    # for every device context: a cost no user's display has. One neutral
    # resource, which no program reads, makes Xlib keep its database.
    printf 'orvelle-wine-run.display: private\n' >"$state/Xresources"
    export XENVIRONMENT=$state/Xresources
  fi
  # Daemons get stdio=/dev/null, their own session and not the lock fd: anything
  # that inherits ctest's or ninja's output pipe stalls that run until it exits.
  if [ ! -f "$WINEPREFIX/.orvelle-configured-v2" ]; then   # first run: ~15 s
    setsid wine wineboot -i </dev/null >"$state/wineboot.log" 2>&1 9>&-
    configure_prefix </dev/null >>"$state/wineboot.log" 2>&1 9>&-
    wineserver -k 2>/dev/null || true   # restart so the virtual desktop applies
    touch "$WINEPREFIX/.orvelle-configured-v2"
  fi
  if [ "$sound" = private ]; then start_pulse; fi
  # -p: wineserver stays up between tests (no per-test restart or 3 s linger).
  setsid wineserver -p </dev/null >/dev/null 2>&1 9>&- || true
  flock -u 9
  exec 9>&-
}

case "${1:-}" in
  --setup) start_env; echo "wine env ready: DISPLAY=$DISPLAY WINEPREFIX=$WINEPREFIX"; exit 0 ;;
  --shutdown)
    wineserver -k 2>/dev/null || true
    if xvfb_alive; then
      xvfb=$(cat "$state/xvfb.pid")
      kill "$xvfb"
      # On its way out it deletes its framebuffer file, which must not happen
      # once the next Xvfb has made it.
      for _ in $(seq 50); do kill -0 "$xvfb" 2>/dev/null || break; sleep 0.1; done
    fi
    if pulse_alive; then kill "$(cat "$pulse/pid")"; fi
    rm -f "$state/xvfb.pid" "$state/display" "$pulse/pid"; exit 0 ;;
esac
start_env
# Wine's helpers (services.exe, explorer.exe, ...) inherit the stdio of the wine
# process that starts them and outlive it; if that were ctest's pipe the test
# would hang until wineserver exits. So run into a file and replay it.
log=$(mktemp "$state/run.XXXXXX")
trap 'rm -f "$log"; [ -z "$capture_pid" ] || kill "$capture_pid" 2>/dev/null' EXIT
start_capture
wine "$@" </dev/null >"$log" 2>&1 &
wpid=$!
trap 'kill -TERM $wpid 2>/dev/null' TERM INT   # ctest timeout -> stop the exe
rc=0
wait $wpid || rc=$?
tr -d '\r' < "$log"
# After a crash, winedbg's backtrace races the exit status: it is 0 about half
# the time. Never let a crashed exe pass.
if [ $rc -eq 0 ] && grep -q '^wine: Unhandled' "$log"; then
  echo "wine-run: unhandled exception, forcing failure" >&2
  rc=70
fi
exit $rc
