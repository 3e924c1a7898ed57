#!/usr/bin/env bash
# Still-capture figures: the latency from the capture button to the capture screen for a
# three-channel 1080p recording with GPS (median of REPEAT, with the share of each grab), and
# the exact frame grab of each channel beside `ffmpeg -ss T -i FILE -frames:v 1` in the same run.
# usage: bench/capture/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: REPEAT (10), WORK_DIR (a fresh temporary folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target capture_bench kavrin_resources >"${TMPDIR:-/tmp}/kavrin-capture-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-capture-build.log" >&2; exit 1; }
work=${WORK_DIR:-}
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-capture-XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 KAVRIN_PLAYER_VIEW=software \
  "$build/bench/capture/capture_bench" "$work" --repeat "${REPEAT:-10}" 2>&1 >/dev/null |
  grep -E '^(load average|capture latency|  [a-z]|frame grab|latency:)'
