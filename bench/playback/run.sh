#!/usr/bin/env bash
# Playback figures: channels in step over SECONDS (60) at 1.0x and 2.0x, the start of a
# three-channel MP4 and of a two-stream AVI (rewrap included) beside mpv's own first frame,
# and the CPU time per second of four 1080p channels.
# usage: bench/playback/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: SECONDS_PER_RUN (60), REPEAT (5), WORK_DIR (a fresh temporary folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target playback_bench >"${TMPDIR:-/tmp}/kavrin-playback-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-playback-build.log" >&2; exit 1; }
work=${WORK_DIR:-}
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-playback-XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen KAVRIN_PLAYER_VIEW=software \
  "$build/bench/playback/playback_bench" "$work" --seconds "${SECONDS_PER_RUN:-60}" --repeat "${REPEAT:-5}" 2>&1 |
  grep -v -e '^QStandardPaths' -e 'propagateSizeHints'
