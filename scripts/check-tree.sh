#!/usr/bin/env bash
# Checks of the tree that need no build: formatting, the size of hand-written files
# and the naming rule of CONTRIBUTING.md. Needs a configured build folder for the
# compile commands the naming check reads (argument 1, default build-tidy: the tidy
# preset, where compiler warnings are errors as well).
set -euo pipefail
cd "$(dirname "$0")/.."
tidy_dir=${1:-build-tidy}

# The tree is kept formatted; a file that is not fails here, before any build.
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

# No hand-written source file grows past 600 lines.
oversized=$(git ls-files '*.cpp' '*.h' | xargs wc -l | awk '$2 != "total" && $1 > 600 {print "  " $2 " (" $1 " lines)"}')
if [ -n "$oversized" ]; then
  echo "Source files over 600 lines; split them by responsibility:"
  echo "$oversized"
  exit 1
fi

# The naming rule, on every hand-written translation unit (headers through them).
cmake --preset tidy -B "$tidy_dir" >/dev/null
mapfile -t units < <(git ls-files '*.cpp' | sed "s#^#$PWD/#")
if ! run-clang-tidy -p "$tidy_dir" -quiet -j "$(nproc)" "${units[@]}" >"$tidy_dir/naming.log" 2>&1; then
  echo "The naming rule (CONTRIBUTING.md) is broken here:"
  grep -E "error: " "$tidy_dir/naming.log" | sort -u
  exit 1
fi
echo "Tree checks passed: formatting, file sizes, naming."
