#!/usr/bin/env bash
# An AVI recording left by a power cut in a camera that reserves its files: a 4 s 720p recording
# with sound followed by TAIL_MIB (2048) MiB of zeros, made as a sparse file, beside the same
# recording without the tail (the peer). Times the rewrap (HEVC test + ffmpeg), the metadata
# parse and the first picture through the window player (playNext to a picture on screen).
# usage: bench/powercut/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: REPEAT (5), TAIL_MIB (2048), WORK_DIR (a fresh temporary folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target powercut_bench kavrin_resources >"${TMPDIR:-/tmp}/kavrin-powercut-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-powercut-build.log" >&2; exit 1; }
work=${WORK_DIR:-}
if [ -z "$work" ]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-powercut-XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen KAVRIN_PLAYER_VIEW=software \
  "$build/bench/powercut/powercut_bench" "$work" --repeat "${REPEAT:-5}" --tail-mib "${TAIL_MIB:-2048}" 2>&1 |
  grep -E -e ' ms|bytes|^alert|^failed|^usage'
