#!/bin/sh
# Start-up figures of the program, measured the same way every time:
#  - time from exec to the main window being mapped on the X server (median and spread of RUNS
#    runs of a solo game);
#  - instructions counted by callgrind from exec to AFTER seconds after the window was mapped.
# Usage: bench/startup.sh [build-folder]     (default build; RUNS=15 AFTER=2 may be set)
# Needs Xvfb, valgrind, a C compiler and the X11 headers. Run as root it puts the program in a
# network namespace of its own, so its game port never meets another copy's.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${RUNS:-15}
after=${AFTER:-2}
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

cc -O2 -o "$work/mapwatch" "$here/mapwatch.c" -lX11
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
export DISPLAY="$display" PLIMB_DATA_DIR="$work" QT_QPA_PLATFORM=xcb
run() {
    if [ "$(id -u)" = 0 ]; then unshare -n sh -c 'ip link set lo up; exec "$0" "$@"' "$@"; else "$@"; fi
}

: >"$work/times"
i=0
while [ "$i" -lt "$runs" ]; do
    run "$work/mapwatch" --after 0.3 -- "$build/plimb" | sed -n 's/^mapped_ms //p' >>"$work/times"
    i=$((i + 1))
done
sort -n "$work/times" | awk '{ v[NR] = $1 } END {
    printf "window mapped after: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)\n",
           (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2), v[1], v[NR], NR }'

run "$work/mapwatch" --after "$after" -- valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" \
    "$build/plimb" >/dev/null 2>"$work/valgrind.log"
total=$(callgrind_annotate "$work/cg.out" 2>/dev/null | sed -n 's/^\([0-9,]*\) .*PROGRAM TOTALS.*/\1/p' | tr -d ,)
echo "instructions from exec to ${after} s after the window: $total"
