#!/usr/bin/env bash
# Processor time the program takes while it animates its default scene at full screen, next to
# that of a minimal Qt window with a GL surface redrawing a cleared screen at the same 33 ms
# tick (bench/GLFloor: with a QOpenGLWidget, and with the program's own surface, which reads
# the frame back instead of having the window composed through OpenGL). Each is started RUNS times under its own Xvfb at 1280 x 1024, from a
# fresh folder of its own (so the default scene, whatever settings the build folder holds), left
# WAIT seconds to start, then its user and system time over SPAN seconds of wall time is read
# from /proc, in cores (1.0: one core busy all the time); the median is printed.
#
#   scripts/cpu-use.sh [build folder] [program]     (defaults: build, build/bin/OpglProject)
# Environment: RUNS (3), WAIT (4), SPAN (10).
set -euo pipefail
build=${1:-build}
program=${2:-$build/bin/OpglProject}
floor=$build/bench/GLFloor
runs=${RUNS:-3}
wait_s=${WAIT:-4}
span=${SPAN:-10}
for exe in "$program" "$floor"; do
  [[ -x $exe ]] || { echo "missing $exe (build the OpglProject and GLFloor targets)" >&2; exit 1; }
done
data=$(dirname "$(readlink -f "$program")")/Data
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Cores used by one run of $1 (with the option $2), started in a folder of its own beside a
# copy of Data.
cores() {
  local dir
  dir=$(mktemp -d "$work/run.XXXXXX")
  cp "$1" "$dir/"
  [[ -d $data ]] && cp -r "$data" "$dir/"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    cd "$1" || exit 1
    "./$2" $5 >/dev/null 2>&1 &
    pid=$!
    ticks() { awk "{print \$14 + \$15}" /proc/$pid/stat 2>/dev/null || echo -1; }
    sleep "$3"
    t0=$(ticks); s0=$(date +%s.%N)
    sleep "$4"
    t1=$(ticks); s1=$(date +%s.%N)
    kill -TERM $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    if [[ $t0 -lt 0 || $t1 -lt 0 ]]; then echo "the program ended early" >&2; echo nan; exit 0; fi
    echo "($t1 - $t0) / $(getconf CLK_TCK) / ($s1 - $s0)" | bc -l' _ "$dir" "$(basename "$1")" \
    "$wait_s" "$span" "${2:-}"
  rm -rf "$dir"
}

median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
spread() { sort -g | awk 'NR==1{lo=$1} {hi=$1} END {printf "%.2f-%.2f", lo, hi}'; }

declare -a prog floor_c own_c
load=$(cut -d' ' -f1-3 /proc/loadavg)
for ((i = 0; i < runs; ++i)); do
  # Alternating, so that all see the same machine.
  prog+=("$(cores "$program")")
  floor_c+=("$(cores "$floor")")
  own_c+=("$(cores "$floor" --surface)")
done
p=$(printf '%s\n' "${prog[@]}" | median)
f=$(printf '%s\n' "${floor_c[@]}" | median)
o=$(printf '%s\n' "${own_c[@]}" | median)
printf 'processor time while animating at 1280 x 1024, median of %d runs, %s s from %s s after start:\n' \
  "$runs" "$span" "$wait_s"
printf '  program  %.2f cores  (runs %s)\n' "$p" "$(printf '%s\n' "${prog[@]}" | spread)"
printf '  GL floor %.2f cores  (runs %s), QOpenGLWidget\n' "$f" "$(printf '%s\n' "${floor_c[@]}" | spread)"
printf '  GL floor %.2f cores  (runs %s), the program'"'"'s surface\n' "$o" \
  "$(printf '%s\n' "${own_c[@]}" | spread)"
printf '  load average before: %s, after: %s\n' "$load" "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '  target: the program at most 0.75 cores\n'
