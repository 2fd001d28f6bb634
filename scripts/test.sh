#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test:
#   1. the optimised build: unit, integration and end-to-end (Xvfb) tests
#   2. AddressSanitizer + UndefinedBehaviorSanitizer: unit and integration tests
#   3. ThreadSanitizer: the threaded host tests
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
mkdir -p build
jobs=$(nproc)

echo "== optimised build"
./scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir build/release --output-on-failure -j "$jobs"

echo "== address and undefined-behaviour sanitizers"
./scripts/build.sh build/asan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" \
  -DLUMI_SANITIZE=address,undefined -DLUMI_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan --output-on-failure -j "$jobs" -LE 'e2e|rules'

echo "== thread sanitizer"
./scripts/build.sh build/tsan -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -g" \
  -DLUMI_SANITIZE=thread -DLUMI_BUILD_BENCH=OFF -- test_host
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build/tsan --output-on-failure -j "$jobs" -L host
