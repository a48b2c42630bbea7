#!/usr/bin/env bash
# Sets up, builds and starts the editor. Extra arguments go to the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# The release preset (build/) also configures the tests, for scripts/test.sh; only the
# editor is built here.
cmake --preset release >/dev/null
cmake --build build --target qd3control
exec build/host/qd3control "$@"
