#!/usr/bin/env bash
# Installs what is needed, then builds and runs every test: plain, under ASan+UBSan, and the fuzzers briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

echo "== plain build and tests"
cmake -S . -B build -G Ninja -DVZ_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build -j "$jobs" --timeout 300

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVZ_SANITIZE=ON -DVZ_BENCH=OFF -DVZ_WERROR=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan -j "$jobs" --timeout 600

echo "== fuzz targets (${VZ_FUZZ_SECONDS:=5} s each)"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DVZ_FUZZ=ON -DVZ_GUI=OFF -DVZ_TESTS=OFF -DVZ_BENCH=OFF
cmake --build build-fuzz -j "$jobs" --target fuzzers
scripts/fuzz.sh build-fuzz "$VZ_FUZZ_SECONDS"
