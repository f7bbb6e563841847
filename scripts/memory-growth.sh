#!/usr/bin/env bash
# Resident memory over time: the heaviest scene (every display option on, seven views)
# animating for SECONDS (default 600), and a soak run of COUNT inputs (default 20000); each
# prints its resident memory after the first minute and at the end, and the growth between.
#
#   scripts/memory-growth.sh [seconds] [count] [build folder]
set -euo pipefail
seconds=${1:-600}
count=${2:-20000}
build=$(readlink -f "${3:-build}")
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$build/soak/OpglSoak
[[ -x $exe ]] || { echo "missing $exe (build with -DOPGL_TESTS=ON)" >&2; exit 1; }
root=$(mktemp -d /tmp/opgl-memory.XXXXXX)
trap 'rm -rf "$root"' EXIT
cp "$exe" "$root/"
cp -r "$here/Data" "$root/Data"
cd "$root"

growth() {  # label, then the program's output
  awk -v label="$1" '/^rss/ || /^soak:.*rss/ {
    if (!match($0, /rss ([0-9]+ s: )?[0-9]+ kB/)) next
    m = substr($0, RSTART, RLENGTH); sub(/ kB$/, "", m); sub(/.* /, "", m); i = n + 0; kb[i] = m
    t = 0
    if (match($0, /\([0-9]+ kB of pixels/)) { t = substr($0, RSTART + 1, RLENGTH - 1); sub(/ .*/, "", t) }
    tex[i] = t; n = i + 1
  } END {
    if (n < 2) { print label ": no figures"; exit 1 }
    printf "%s: %d kB after the first minute, %d kB at the end, growth %+d kB", label, kb[0],
           kb[n-1], kb[n-1] - kb[0]
    printf " (textures added by the user since: %+d kB of pixels)\n", tex[n-1] - tex[0] }'
}

xvfb-run -a -s "-screen 0 1280x1024x24" ./OpglSoak --animate "$seconds" \
  --rss-at "60,$((seconds - 1))" | growth "animation ${seconds} s"
# The soak's end is not known in advance: a figure every 30 s, the last one is the end.
marks=$(seq -s, 60 30 7200)
xvfb-run -a -s "-screen 0 1280x1024x24" ./OpglSoak --count "$count" --seed 11 --work work \
  --rss-at "$marks" | grep -a '^rss\|^soak' | tee soak.log | growth "soak ${count} inputs"
