#!/usr/bin/env bash
# Builds the program and its tests with AddressSanitizer, UndefinedBehaviorSanitizer and
# _GLIBCXX_ASSERTIONS into build-san/ (-O1) and runs every test under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-san -G Ninja -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g" \
  -DOPGL_SANITIZE=ON -DOPGL_TESTS=ON -DOPGL_BENCH=OFF -DOPGL_WERROR=OFF
cmake --build build-san --parallel "$(nproc)"
# Mesa, fontconfig and Qt keep some memory until exit on purpose: leak reports are off, every
# other finding stops the test.
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
cd build-san
# A test that fails is run once more: under load the shared Xvfb now and then refuses a client's
# connection before the test starts ("could not connect to display"); a real fault fails twice.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --parallel 2 --repeat until-pass:2
