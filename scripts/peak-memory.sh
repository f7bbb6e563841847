#!/usr/bin/env bash
# Peak resident memory of the program after start-up next to that of a minimal Qt window with a
# GL surface built the same way (bench/GLFloor), each started RUNS times under its own Xvfb,
# left running SECONDS seconds (start-up, first frames), read from /proc (VmHWM), then ended.
#
#   scripts/peak-memory.sh [build folder] [program]     (defaults: build, build/bin/OpglProject)
# Environment: RUNS (5), SECONDS_UP (6).
set -euo pipefail
build=${1:-build}
program=${2:-$build/bin/OpglProject}
floor=$build/bench/GLFloor
runs=${RUNS:-5}
up=${SECONDS_UP:-6}
for exe in "$program" "$floor"; do
  [[ -x $exe ]] || { echo "missing $exe (build the OpglProject and GLFloor targets)" >&2; exit 1; }
done

# Peak resident kilobytes of one run of $1, started in its own folder.
peak() {
  local exe dir
  exe=$(readlink -f "$1")
  dir=$(dirname "$exe")
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    cd "$1" || exit 1
    "$2" >/dev/null 2>&1 &
    pid=$!
    sleep "$3"
    kb=$(awk "/^VmHWM:/ {print \$2}" /proc/$pid/status 2>/dev/null || echo 0)
    kill -TERM $pid 2>/dev/null || true
    wait $pid 2>/dev/null || true
    echo "${kb:-0}"' _ "$dir" "$exe" "$up"
}

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
spread() { sort -n | awk 'NR==1{lo=$1} {hi=$1} END {print lo "-" hi}'; }

declare -a prog_kb floor_kb
for ((i = 0; i < runs; ++i)); do
  # Alternating, so that both see the same machine.
  prog_kb+=("$(peak "$program")")
  floor_kb+=("$(peak "$floor")")
done
p=$(printf '%s\n' "${prog_kb[@]}" | median)
f=$(printf '%s\n' "${floor_kb[@]}" | median)
printf 'peak resident memory, median of %d runs, %s s after start:\n' "$runs" "$up"
printf '  program  %6.1f MB  (runs %s kB)\n' "$(echo "$p / 1024" | bc -l)" \
  "$(printf '%s\n' "${prog_kb[@]}" | spread)"
printf '  GL floor %6.1f MB  (runs %s kB)\n' "$(echo "$f / 1024" | bc -l)" \
  "$(printf '%s\n' "${floor_kb[@]}" | spread)"
printf '  program above the floor: %.1f MB (target at most 15 MB)\n' "$(echo "($p - $f) / 1024" | bc -l)"
