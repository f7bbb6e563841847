#!/usr/bin/env bash
# The soak run: the real window under a seeded random user for COUNT inputs, in a folder of its
# own with its own home and temporary folder. Afterwards the program must have ended normally
# (exit 0), its settings file must be complete and read back with every value in its range, and
# nothing may have been written outside the program's folder and the driver's work folder.
#
#   scripts/soak.sh COUNT SEED [build folder]      (defaults: 3000, 1, build)
# A failure prints the seed; the same COUNT and SEED replay the same inputs (--trace in
# OPGL_SOAK_ARGS prints each one).
set -euo pipefail
count=${1:-3000}
seed=${2:-1}
build=$(readlink -f "${3:-build}")
here=$(cd "$(dirname "$0")/.." && pwd)
exe=$build/soak/OpglSoak
[[ -x $exe ]] || { echo "missing $exe (build with -DOPGL_TESTS=ON)" >&2; exit 1; }

root=$(mktemp -d /tmp/opgl-soak.XXXXXX)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/bin" "$root/work" "$root/home" "$root/tmp" "$root/run"
chmod 700 "$root/run"
cp "$exe" "$root/bin/"
cp -r "$here/Data" "$root/bin/Data"
touch "$root/start"

fail() {
  echo "SOAK FAILED (count $count, seed $seed): $*" >&2
  echo "replay: scripts/soak.sh $count $seed $build   (OPGL_SOAK_ARGS=--trace prints each input)" >&2
  exit 1
}

# The sanitizers report to standard error and stop the program; huge allocations are refused;
# leaks are looked for at the end, except those of the libraries named in lsan.supp.
export ASAN_OPTIONS="${ASAN_OPTIONS:-}:abort_on_error=1:allocator_may_return_null=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
run=(env HOME="$root/home" TMPDIR="$root/tmp" XDG_RUNTIME_DIR="$root/run"
     XDG_CONFIG_HOME="$root/home/.config" XDG_CACHE_HOME="$root/home/.cache"
     "$root/bin/OpglSoak" --count "$count" --seed "$seed" --work "$root/work" ${OPGL_SOAK_ARGS:-})
limit=$(( 120 + count / 5 ))
status=0
# Always an X server of its own: the soak takes the keyboard focus and the clipboard thousands
# of times, which would break the tests that share a display with it.
(cd "$root/bin" && timeout "$limit" xvfb-run -a -s "-screen 0 1280x1024x24" "${run[@]}") ||
  status=$?
[[ $status -eq 124 ]] && fail "no end after $limit s (hung)"
[[ $status -ne 0 ]] && fail "exit status $status"

settings="$root/bin/OpglSoak.ini"
[[ -f $settings ]] || fail "no settings file"
(cd "$root/bin" && env HOME="$root/home" TMPDIR="$root/tmp" XDG_RUNTIME_DIR="$root/run" \
  QT_QPA_PLATFORM=offscreen "$root/bin/OpglSoak" --check "$settings") || fail "settings file"

# What was written outside the program's folder and the work folder. The shader caches of the
# GL driver and of Qt, fontconfig's cache and the folder Qt's file dialogs remember (every Qt
# program keeps it in QtProject.conf) belong to the libraries, not to the program.
others=$(cd "$root" && find . -newer start \( -type f -o -type l \) \
  ! -path './bin/OpglSoak.ini' ! -path './work/*' ! -path './home/.cache/mesa_shader_cache/*' \
  ! -path './home/.cache/qtshadercache-*' ! -path './home/.cache/fontconfig/*' \
  ! -path './home/.config/QtProject.conf' ! -path './start' | sort)
[[ -z $others ]] || fail "files written elsewhere: $others"
echo "soak: $count inputs, seed $seed: ended normally, settings complete and in range"
