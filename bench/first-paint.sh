#!/bin/bash
# How long the main window takes to appear on an X display: from starting
# the program to the window being mapped and visible, a number of times.
# Usage: bench/first-paint.sh [program] [runs]   (DISPLAY must be set)
set -euo pipefail
program=${1:-build/bin/tilewright}
runs=${2:-10}
command -v xdotool >/dev/null || { echo "xdotool is needed: apt-get install xdotool" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "DISPLAY is not set (Xvfb :99 & export DISPLAY=:99)" >&2; exit 2; }
times=()
for ((k = 0; k < runs; ++k)); do
    start=$(date +%s%N)
    "$program" >/dev/null 2>&1 &
    pid=$!
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        kill -0 "$pid" 2>/dev/null || { echo "the program ended before its window appeared" >&2; exit 1; }
    done
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
    kill "$pid"; wait "$pid" 2>/dev/null || true
done
printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1; s += $1 } END {
    printf "window visible after %d ms (median of %d; fastest %d, slowest %d)\n", a[int((NR + 1) / 2)], NR, a[1], a[NR] }'
