#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once as built for
# use, once under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# Windows library under Wine; then fuzzes every target for a fixed time
# (FUZZ_SECONDS each, 45 by default).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINKLINE_SANITIZE=ON \
  -DINKLINE_BUILD_BENCH=OFF
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp" \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

# Conversions and drawing from several threads at once, under ThreadSanitizer.
cmake -S . -B build-tsan -G Ninja -DINKLINE_TSAN=ON -DINKLINE_BUILD_BENCH=OFF \
  -DINKLINE_BUILD_TOOLS=OFF
cmake --build build-tsan -j "$jobs" --target inkline_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/inkline_tests --gtest_filter='MarkupThreads.*:DrawingThreads.*:FontLibraryThreads.*'

# The Windows library, cross-built and run under Wine.
bash scripts/test-windows.sh build-win

# Every fuzz target for a fixed time, on top of the seed replays above.
FUZZ_SECONDS=${FUZZ_SECONDS:-45} bash scripts/fuzz.sh
