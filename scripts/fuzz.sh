#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (folder build-fuzz) and runs each in turn for
# SECONDS (default 30) on a copy of its seed corpus, then prints per target the
# executions and the coverage of libFuzzer's final report. Exit status 1 when a target
# found a crash (its reproducer is kept in build-fuzz/findings/<target>/).
set -euo pipefail

seconds="${1:-30}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
targets=(FuzzSevenBit FuzzWavReader FuzzPresetFile FuzzBankFile FuzzFirmwareImage
  FuzzCacheScan FuzzIniFile FuzzStateFile FuzzPedalModel FuzzEditorReceive)

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQD3_FUZZ=ON "-DQD3_SANITIZE=address;undefined" -DQD3_BUILD_TESTS=OFF \
  -DQD3_BUILD_BENCHMARKS=OFF -DQD3_BUILD_GUI=OFF >/dev/null
cmake --build "$build" --target "${targets[@]}" -j"${QD3_FUZZ_JOBS:-2}"

failed=0
printf '%-20s %12s %8s %8s %s\n' target executions cov ft result
for t in "${targets[@]}"; do
  work="$build/run/$t"
  findings="$build/findings/$t"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$findings"
  if [ -d "$root/fuzz/corpus/$t" ]; then cp "$root/fuzz/corpus/$t/." "$work/corpus/" -r; fi
  status=ok
  # State files are large: let the longest seed through.
  if ! (cd "$work" && ASAN_OPTIONS=detect_leaks=1 "$build/fuzz/$t" -max_total_time="$seconds" \
        -print_final_stats=1 -artifact_prefix="$findings/" -max_len=65536 corpus \
        >"$work/log.txt" 2>&1); then
    status="CRASH (see $work/log.txt, $findings)"
    failed=1
  fi
  done_line="$(grep -E '^#[0-9]+[[:space:]]+DONE' "$work/log.txt" | tail -1 || true)"
  [ -n "$done_line" ] || done_line="$(grep -E '^#[0-9]+' "$work/log.txt" | tail -1 || true)"
  execs="$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$done_line")"
  cov="$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$done_line")"
  ft="$(sed -nE 's/.*ft: ([0-9]+).*/\1/p' <<<"$done_line")"
  printf '%-20s %12s %8s %8s %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$status"
done
exit "$failed"
