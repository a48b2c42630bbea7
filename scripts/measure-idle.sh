#!/usr/bin/env bash
# Idle cost of the editor as a process: CPU time (all threads, from
# /proc/PID/stat), voluntary context switches per second (all threads, from
# /proc/PID/task/*/status: the wake-ups) and resident memory, over a window
# after it has settled. The pedal is absent: the editor polls for it.
#   scripts/measure-idle.sh [BUILD_DIR] [SECONDS] [MODE]
# Without BUILD_DIR (the first argument is a number or absent) the release preset's
# build/ is configured and the editor and the window tool are built there.
# MODE: nomidi (default; no JACK server, driver 0: no sound card or ALSA
# sequencer on a headless machine), jack (a private JACK dummy server, driver 1,
# ports stored but no pedal on them), demo (--demo, the simulated pedal).
# Needs Xvfb; the editor's window is on a private display. XTOOL names the
# qd3_xwindow_tool that closes the soundcard box (default: in BUILD_DIR).
set -euo pipefail
if [ $# -eq 0 ] || [[ "$1" =~ ^[0-9]+$ ]]; then
  root="$(cd "$(dirname "$0")/.." && pwd)"
  build="$root/build"
  cmake -S "$root" --preset release >/dev/null
  cmake --build "$build" --target qd3control qd3_xwindow_tool >/dev/null
else
  build="$1"
  shift
fi
seconds="${1:-60}"
mode="${2:-nomidi}"
editor="$build/host/qd3control"
xtool="${XTOOL:-$build/tests/host_app/qd3_xwindow_tool}"
tmp="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT

exec 3>"$tmp/display"
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 50); do [ -s "$tmp/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$tmp/display")"
export XDG_DATA_HOME="$tmp/data" GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
mkdir -p "$XDG_DATA_HOME/QD3Control"
args=()
case "$mode" in
  nomidi)
    export JACK_DEFAULT_SERVER="qd3-absent-$$" JACK_NO_START_SERVER=1
    printf '[audio]\ndriver=0\n' >"$XDG_DATA_HOME/QD3Control/settings.ini"
    ;;
  jack)
    export JACK_DEFAULT_SERVER="qd3-measure-$$" JACK_NO_START_SERVER=1
    jackd --no-realtime -n "$JACK_DEFAULT_SERVER" -d dummy -r 48000 -p 512 >"$tmp/jack.log" 2>&1 &
    pids+=($!)
    sleep 1
    printf '[audio]\ndriver=1\noutdev=system\nsr=48000\nbuffer=512\n[midi]\nindev=off\noutdev=off\n' \
      >"$XDG_DATA_HOME/QD3Control/settings.ini"
    ;;
  demo) args=(--demo) ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac

"$editor" "${args[@]}" >"$tmp/editor.log" 2>&1 &
pid=$!
pids+=("$pid")
sleep 3
# Without a sound card the soundcard message box is up: close it.
if [ -x "$xtool" ]; then "$xtool" close Error >/dev/null 2>&1 || true; fi
sleep 5

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
switches() { cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s}'; }
rss() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
hz="$(getconf CLK_TCK)"

t0="$(ticks "$pid")"; s0="$(switches "$pid")"; r0="$(rss "$pid")"; start="$(date +%s.%N)"
rmax="$r0"
for _ in $(seq "$seconds"); do
  sleep 1
  r="$(rss "$pid")"
  [ "$r" -gt "$rmax" ] && rmax="$r"
done
t1="$(ticks "$pid")"; s1="$(switches "$pid")"; r1="$(rss "$pid")"; end="$(date +%s.%N)"
threads="$(ls /proc/"$pid"/task | wc -l)"

awk -v t0="$t0" -v t1="$t1" -v s0="$s0" -v s1="$s1" -v a="$start" -v b="$end" -v hz="$hz" \
  -v r0="$r0" -v r1="$r1" -v rmax="$rmax" -v mode="$mode" -v threads="$threads" 'BEGIN {
  wall = b - a
  printf "mode %s, %.1f s, %d threads\n", mode, wall, threads
  printf "cpu: %.3f %% of one core (%d ticks at %d Hz)\n", 100 * (t1 - t0) / hz / wall, t1 - t0, hz
  printf "wake-ups: %.1f voluntary context switches per second\n", (s1 - s0) / wall
  printf "rss: %d kB at start, %d kB at end, %d kB highest (growth %d kB)\n", r0, r1, rmax, r1 - r0
}'
