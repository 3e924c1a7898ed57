#!/usr/bin/env bash
# Full-screen hand-over on a playing three-channel 720p recording: from the toggle to the first new
# picture in full screen and back (median of TOGGLES each way), the position kept across the toggle,
# beside the window player's own start (double action to a picture in every view) in the same run.
# usage: bench/fullscreen/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: TOGGLES (20), STARTS (10), ALL_CHANNEL_TOGGLES (10), PLAY_MS (800),
# WORK_DIR (a fresh temporary folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target fullscreen_bench >"${TMPDIR:-/tmp}/kavrin-fullscreen-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-fullscreen-build.log" >&2; exit 1; }
work=${WORK_DIR:-}
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-fullscreen-XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen KAVRIN_PLAYER_VIEW=software timeout 900 \
  "$build/bench/fullscreen/fullscreen_bench" "$work" --toggles "${TOGGLES:-20}" --starts "${STARTS:-10}" \
  --all-channel-toggles "${ALL_CHANNEL_TOGGLES:-10}" --play-ms "${PLAY_MS:-800}" 2>&1 |
  grep -v -e '^QStandardPaths' -e 'propagateSizeHints' -e '^AdminDistrictInfo.dat not found'
