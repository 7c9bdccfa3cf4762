#!/usr/bin/env bash
# The whole viewer's CPU while it plays, on the path a user takes: the built
# OrvelleViewer.exe opens the sample card's first event folder under Wine (as
# tools/run-viewer.sh does, sound into the private real-speed sink) and plays
# its 30 s recording; the process's user and system time, and each thread's,
# are read from /proc between 8 s and 28 s after the start.
#
#   tools/viewer-cpu.sh [runs]      (default 1 run; build with tools/run-viewer.sh first)
#
# ORVELLE_BUILD  build folder root (default: build/ in the tree)
set -euo pipefail

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${ORVELLE_BUILD:-$TOP/build}
EXE=$BUILD/windows/bin/OrvelleViewer.exe
CARD=$BUILD/sample-card
runs=${1:-1}
[ -x "$EXE" ] || [ -f "$EXE" ] || { echo "no $EXE: run tools/run-viewer.sh first" >&2; exit 1; }
folder=$(find "$CARD" -name Video.dvt -printf '%h\n' 2>/dev/null | sort | head -n 1)
[ -n "$folder" ] || { echo "no sample card in $CARD: run tools/run-viewer.sh first" >&2; exit 1; }

export ORVELLE_WINE_STATE=$BUILD/windows/wine-state
export ORVELLE_SOUND=private
ticks=$(getconf CLK_TCK)

# "tid ticks name" for every thread of pid
threads() { for t in /proc/"$1"/task/*; do echo "${t##*/} $(awk '{print $14 + $15}' "$t/stat") $(tr ' ' '_' <"$t/comm")"; done; }

"$TOP/cmake/wine-run.sh" --setup >/dev/null
for ((run = 1; run <= runs; run++)); do
    "$TOP/cmake/wine-run.sh" "$EXE" "Z:${folder//\//\\}" >/dev/null 2>&1 &
    sleep 8
    pid=$(pgrep -x OrvelleViewer.e | tail -n 1)
    before=$(threads "$pid"); read -r u0 s0 < <(awk '{print $14, $15}' /proc/"$pid"/stat); t0=$(date +%s.%N)
    sleep 20
    after=$(threads "$pid"); read -r u1 s1 < <(awk '{print $14, $15}' /proc/"$pid"/stat); t1=$(date +%s.%N)
    kill "$pid"; wait || true
    python3 - "$ticks" "$u0" "$s0" "$t0" "$u1" "$s1" "$t1" "$before" "$after" <<'PY'
import sys
ticks, u0, s0, t0, u1, s1, t1 = (float(v) for v in sys.argv[1:8])
parse = lambda text: {l.split()[0]: (int(l.split()[1]), l.split()[2]) for l in text.splitlines() if l.strip()}
before, after = parse(sys.argv[8]), parse(sys.argv[9])
span = t1 - t0
user, system = (u1 - u0) / ticks / span, (s1 - s0) / ticks / span
print('viewer: %.1f ms user + %.1f ms system per second of playback (%.1f %% of one core) over %.1f s'
      % (1000 * user, 1000 * system, 100 * (user + system), span))
for tid in sorted(after, key=int):
    used = (after[tid][0] - before.get(tid, (0,))[0]) / ticks / span
    if used > 0: print('  thread %-7s %-16s %.1f %%' % (tid, after[tid][1], 100 * used))
PY
done
