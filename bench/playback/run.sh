#!/usr/bin/env bash
# Playback figures: channels in step over SECONDS (60) at 1.0x and 2.0x, run REPEAT (5) times
# one after another, every run reported; the start of a three-channel MP4 and of a two-stream
# AVI (rewrap included) beside mpv's own first frame; the CPU time per second of four 1080p
# channels.
# usage: bench/playback/run.sh [--sync-only] [BUILD_DIR]      (default: build; built when needed)
#   --sync-only   only the channels in step: REPEAT runs of SECONDS at 1.0x then at 2.0x
#                 (about 2 x SECONDS + 10 s per run: 11 minutes with the defaults)
# Environment: SECONDS_PER_RUN (60), REPEAT (5), WORK_DIR (a fresh temporary folder),
#   BUSY_LOOPS (0): that many busy shell loops run beside the benchmark, for figures under load,
#   PLAYBACK_BENCH_EXPLAIN=1: each sample over the limits is described channel by channel.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mode=()
if [ "${1:-}" = "--sync-only" ]; then
  mode=(--sync-only)
  shift
fi
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target playback_bench >"${TMPDIR:-/tmp}/kavrin-playback-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-playback-build.log" >&2; exit 1; }
work=${WORK_DIR:-}
busy=()
cleanup() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [ -z "${WORK_DIR:-}" ] && [ -n "$work" ]; then rm -rf "$work"; fi
}
trap cleanup EXIT
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-playback-XXXXXX")
fi
for _ in $(seq 1 "${BUSY_LOOPS:-0}"); do
  bash -c 'while :; do :; done' &
  busy+=($!)
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) processors; ${BUSY_LOOPS:-0} busy loops beside"
QT_QPA_PLATFORM=offscreen KAVRIN_PLAYER_VIEW=software \
  "$build/bench/playback/playback_bench" "$work" --seconds "${SECONDS_PER_RUN:-60}" --repeat "${REPEAT:-5}" \
  "${mode[@]}" 2>&1 | grep -v -e '^QStandardPaths' -e 'propagateSizeHints'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
