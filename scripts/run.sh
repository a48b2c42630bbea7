#!/usr/bin/env bash
# Sets up, builds and starts the editor. Extra arguments go to the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQD3_BUILD_TESTS=OFF -DQD3_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build --target qd3control
exec build/host/qd3control "$@"
