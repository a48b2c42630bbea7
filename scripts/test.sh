#!/usr/bin/env bash
# Sets up, builds with AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DQD3_SANITIZE=address;undefined" \
  -DQD3_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-test
ctest --test-dir build-test --output-on-failure -j2
