#!/usr/bin/env bash
# Builds the libFuzzer programs (clang, AddressSanitizer, UndefinedBehaviorSanitizer) into
# build-fuzz/ and runs each target for a chosen time, one at a time, on all cores: one fuzzer
# process per core sharing the target's corpus (FUZZ_JOBS sets how many).
#   scripts/fuzz.sh [seconds per target] [target ...]     targets: settings records values picture
# The run's corpus grows in build-fuzz/corpus/<target> from the committed seeds in
# fuzz/corpus/<target>; an input that fails is written to build-fuzz/crashes/<target>/. Commit it
# to fuzz/crashes/<target>/ with its fix, so the corpus replay test keeps it fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(settings records values picture)

# The fuzzers need clang and its fuzzer runtime on top of the build's packages.
source scripts/packages.sh
OPGL_PACKAGES+=(clang libclang-rt-14-dev)
opgl_install_packages

if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DOPGL_FUZZ=ON -DOPGL_TESTS=OFF -DOPGL_BENCH=OFF
fi
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]/#/fuzz_}"

# Mesa, fontconfig and Qt keep memory until exit on purpose; leaks are not what is hunted here.
# Each allocation keeps only its caller: the libraries have no frame pointers, so longer stacks
# picked up garbage frames, every one new to the sanitizer's stack store, which then grew by
# kilobytes an input and slowed every allocation (the runs lost two thirds of their speed in
# 15 minutes). A failing input is replayed for the whole story.
export ASAN_OPTIONS="detect_leaks=0:allocator_may_return_null=1:malloc_context_size=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=offscreen

jobs=${FUZZ_JOBS:-$(nproc)}
status=0
for target in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$target"
  crashes="build-fuzz/crashes/$target"
  mkdir -p "$corpus" "$crashes"
  max_len=4096
  [ "$target" = picture ] && max_len=65536
  [ "$target" = values ] && max_len=256
  echo "== $target for ${seconds}s, $jobs processes"
  pids=()
  for ((job = 0; job < jobs; job++)); do
    # Each process picks up what the others add to the shared corpus as it goes.
    "build-fuzz/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" \
      -max_total_time="$seconds" -max_len="$max_len" -timeout=25 -rss_limit_mb=2560 \
      -artifact_prefix="$crashes/" -print_final_stats=1 -seed=$((job + 1)) \
      > "build-fuzz/fuzz-$target-$job.log" 2>&1 &
    pids+=($!)
  done
  failed=0
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
  if [ $failed -ne 0 ]; then
    echo "   FAILED: see build-fuzz/fuzz-$target-*.log and $crashes/"
    status=1
  fi
  runs=$(cat build-fuzz/fuzz-"$target"-*.log | grep -o 'stat::number_of_executed_units: *[0-9]*' |
         grep -o '[0-9]*$' | awk '{ total += $1 } END { print total + 0 }')
  echo "   executions: $runs"
done
exit $status
