#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (folder build-fuzz) and runs each in turn for
# SECONDS (default 30) on a copy of its seed corpus, then prints per target the
# executions, the executions per second and the coverage of libFuzzer's final report.
# Exit status 1 when a target found a crash (its reproducer is kept in
# build-fuzz/findings/<target>/).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]   only the named targets when any are given
#   QD3_FUZZ_JOBS       build jobs (default 2)
#   QD3_FUZZ_RUNS       stop each target after this many executions instead (with SECONDS
#                       still the upper bound of its time)
#   QD3_FUZZ_FORK       run each target as that many parallel worker processes on one
#                       corpus (libFuzzer's fork mode); executions are their sum
#   QD3_WERROR          ON: compiler warnings are errors (scripts/test.sh sets it)
#   QD3_FUZZ_SCRATCH    folder for the files the targets write (default /dev/shm when it
#                       is writable: a file system in memory keeps disk writes out of the
#                       executions)
set -euo pipefail

seconds="${1:-30}"
shift || true
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
scratch="${QD3_FUZZ_SCRATCH:-}"
if [ -z "$scratch" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then scratch=/dev/shm; fi
[ -n "$scratch" ] || scratch="${TMPDIR:-/tmp}"
runs=()
if [ -n "${QD3_FUZZ_RUNS:-}" ]; then runs=(-runs="$QD3_FUZZ_RUNS"); fi
if [ -n "${QD3_FUZZ_FORK:-}" ]; then runs+=(-fork="$QD3_FUZZ_FORK"); fi

# The fuzz preset; the build writes its target list, with each target's longest input,
# to fuzz/targets.txt (fuzz/CMakeLists.txt).
cmake -S "$root" --preset fuzz ${QD3_WERROR:+"-DQD3_WERROR=$QD3_WERROR"} >/dev/null
declare -A max_len
all_targets=()
while read -r name len; do
  all_targets+=("$name")
  max_len[$name]="$len"
done <"$build/fuzz/targets.txt"
if [ $# -gt 0 ]; then targets=("$@"); else targets=("${all_targets[@]}"); fi
for t in "${targets[@]}"; do
  [ -n "${max_len[$t]:-}" ] || { echo "fuzz.sh: no fuzz target $t (fuzz/CMakeLists.txt)" >&2; exit 2; }
done
cmake --build "$build" --target "${targets[@]}" -j"${QD3_FUZZ_JOBS:-2}"

failed=0
printf '%-20s %12s %8s %8s %8s %6s %s\n' target executions exec/s cov ft secs result
for t in "${targets[@]}"; do
  work="$build/run/$t"
  findings="$build/findings/$t"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$findings"
  if [ -d "$root/fuzz/corpus/$t" ]; then cp "$root/fuzz/corpus/$t/." "$work/corpus/" -r; fi
  status=ok
  started=$SECONDS
  # The targets' scratch folders are per process, below TMPDIR.
  if ! (cd "$work" && TMPDIR="$scratch" ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$t" \
        -max_total_time="$seconds" "${runs[@]}" -print_final_stats=1 \
        -artifact_prefix="$findings/" -max_len="${max_len[$t]}" corpus \
        >"$work/log.txt" 2>&1); then
    status="CRASH (see $work/log.txt, $findings)"
    failed=1
  fi
  # A single process ends with "#N DONE"; fork mode's last status line is "#N: cov: ...".
  done_line="$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log.txt" | tail -1 || true)"
  [ -n "$done_line" ] || done_line="$(grep -E '^#[0-9]+' "$work/log.txt" | tail -1 || true)"
  execs="$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$done_line")"
  cov="$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$done_line")"
  ft="$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$done_line")"
  rate="$(sed -nE 's/^stat::average_exec_per_sec:[[:space:]]+([0-9]+).*/\1/p' "$work/log.txt" | tail -1)"
  [ -n "$rate" ] || rate="$(sed -nE 's/.*exec\/s:? ([0-9]+).*/\1/p' <<<"$done_line")"
  printf '%-20s %12s %8s %8s %8s %6s %s\n' "$t" "${execs:-?}" "${rate:-?}" "${cov:-?}" "${ft:-?}" \
    "$((SECONDS - started))" "$status"
done
exit "$failed"
