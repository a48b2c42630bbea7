#!/usr/bin/env bash
# Sets up; checks formatting, file sizes and naming; builds the run command's
# optimised build; runs the threaded tests under ThreadSanitizer; then builds
# everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the
# whole test suite, after a short run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

# Formatting, file sizes and the naming rule, before any build.
scripts/check-tree.sh build-tidy

# The run command's optimised build must compile too (the optimiser warns about
# things a debug build never sees).
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQD3_BUILD_TESTS=OFF \
  -DQD3_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build --target qd3control

# Only the tests labelled "threaded" are built and run under ThreadSanitizer.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQD3_SANITIZE=thread \
  -DQD3_BUILD_GUI=OFF -DQD3_BUILD_BENCHMARKS=OFF >/dev/null
threaded_targets=$(grep -rhoE 'gtest_discover_tests\(([a-z_]+) PROPERTIES LABELS threaded' tests \
  | sed -E 's/gtest_discover_tests\(([a-z_]+).*/\1/' | sort -u)
cmake --build build-tsan --target $threaded_targets
ctest --test-dir build-tsan --output-on-failure -L threaded

# The whole suite, last, so that its summary closes the output. The Debian package has
# its own Release build (scripts/package.sh); it is built and checked just before.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DQD3_SANITIZE=address;undefined" \
  -DQD3_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-test
ctest --test-dir build-test --output-on-failure -L package
# Every fuzz target for 10 s on its seed corpus (clang build in build-fuzz), so that an
# input that crashes a reader shows here; scripts/fuzz.sh stops the run when one does.
scripts/fuzz.sh 10
ctest --test-dir build-test --output-on-failure -j2 -LE package
