#!/usr/bin/env bash
# Sets up; checks formatting, file sizes and naming; builds the release preset (the
# run command's program and every test, optimised); runs the threaded tests under
# ThreadSanitizer; then builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer and runs the whole test suite, after a short run of every
# fuzz target. Compiler warnings are errors in all of these builds.
#
#   scripts/test.sh --quick   the everyday loop: one debug build (the dev preset,
#                             build-dev/) and the tests that need no JACK server, no
#                             display and no package
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

if [ "${1:-}" = "--quick" ]; then
  cmake --preset dev >/dev/null
  cmake --build --preset dev
  exec ctest --preset quick
fi

# Read by the scripts below (fuzz.sh, package.sh) as well.
export QD3_WERROR=ON

# Formatting, file sizes and the naming rule, before any build.
scripts/check-tree.sh build-tidy

# The optimised build must compile, the tests included (the optimiser warns about
# things a debug build never sees); they run in the sanitizer builds below.
cmake --preset release -DQD3_WERROR=ON >/dev/null
cmake --build --preset release

# Only the tests labelled "threaded" (target qd3_threaded_tests) are built and run under
# ThreadSanitizer.
cmake --preset tsan -DQD3_WERROR=ON >/dev/null
cmake --build --preset tsan
ctest --preset tsan

# The whole suite, last, so that its summary closes the output. The Debian package has
# its own Release build (scripts/package.sh); it is built and checked just before.
cmake --preset asan-ubsan -DQD3_WERROR=ON >/dev/null
cmake --build --preset asan-ubsan
ctest --test-dir build-test --output-on-failure -L package
# Every fuzz target for 10 s on its seed corpus (clang build in build-fuzz), so that an
# input that crashes a reader shows here; scripts/fuzz.sh stops the run when one does.
scripts/fuzz.sh 10
ctest --test-dir build-test --output-on-failure -j2 -LE package
