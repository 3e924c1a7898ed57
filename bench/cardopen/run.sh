#!/usr/bin/env bash
# Opening a generated card of 1,000 recordings (3,000 channel files, the three layouts mixed) with
# the Korean interface, from the open action to the reloaded table, on a warm cache; beside it
# the I/O floor of the same run (every file opened and its first 64 KiB read).
# usage: bench/cardopen/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: CARD_RECORDINGS (1000), REPEAT (7), THREADS (the processors, at most 8).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target cardopen_bench kavrin-samplegen >"${TMPDIR:-/tmp}/kavrin-cardopen-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-cardopen-build.log" >&2; exit 1; }
tmp=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-cardopen-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
"$build/tools/samplegen/kavrin-samplegen" card "$tmp/card" --recordings "${CARD_RECORDINGS:-1000}" --seconds 2 \
  --size 192x108 --fps 10 --no-short --mixed >/dev/null
args=(--repeat "${REPEAT:-7}")
[ -n "${THREADS:-}" ] && args+=(--threads "$THREADS")
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
QT_QPA_PLATFORM=offscreen "$build/bench/cardopen/cardopen_bench" "$tmp/card" "${args[@]}" 2>&1
