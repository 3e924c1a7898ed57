#!/usr/bin/env bash
# Metadata benchmarks. Generates the inputs with kavrin-samplegen into a temporary folder, runs
# metadata_bench and prints the figures:
#  (a) per layout: full parse (CParserWrapper, every sample) and first fix (getFirstGPS) of one
#      recording, beside `ffprobe -show_streams` of the same file, with the ratios;
#  (b) the first fix of every file of a generated card of 3,000 recordings files (the recording
#      list's location column), in files per second on a warm page cache.
# usage: bench/metadata/run.sh [BUILD_DIR]      (default: build; built when needed)
# Environment: RECORDING_SECONDS (60), CARD_RECORDINGS (1000, three files each), CARD_SECONDS (20).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target metadata_bench kavrin-samplegen >"${TMPDIR:-/tmp}/kavrin-bench-build.log" 2>&1 ||
  { cat "${TMPDIR:-/tmp}/kavrin-bench-build.log" >&2; exit 1; }
gen=$build/tools/samplegen/kavrin-samplegen
bench=$build/bench/metadata/metadata_bench
command -v ffprobe >/dev/null || { echo "ffprobe is needed" >&2; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/kavrin-bench-XXXXXX")
trap 'rm -rf "$tmp"' EXIT

seconds=${RECORDING_SECONDS:-60}
args=()
for layout in datatrack boxes avi; do
  ext=mp4
  [ "$layout" = avi ] && ext=avi
  file=$tmp/20241108-083000_F_N_$layout.$ext
  "$gen" recording --layout "$layout" --seconds "$seconds" --size 1280x720 --fps 30 --rate 10 "$file" >/dev/null
  args+=("--recording=$layout:$file")
done
"$gen" card "$tmp/card" --recordings "${CARD_RECORDINGS:-1000}" --seconds "${CARD_SECONDS:-20}" --size 64x64 \
  --fps 30 --no-short >/dev/null

# The parsers print diagnostics on standard output: the figures are taken from the JSON report.
"$bench" "${args[@]}" --card="$tmp/card" --benchmark_min_time=1 \
  --benchmark_out="$tmp/report.json" --benchmark_out_format=json >/dev/null 2>"$tmp/bench.err" ||
  { cat "$tmp/bench.err" >&2; exit 1; }

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "recordings: ${seconds} s, 1280x720, 30 fps, 10 samples/s; card: ${CARD_RECORDINGS:-1000} x 3 files of ${CARD_SECONDS:-20} s"
python3 - "$tmp/report.json" <<'PY'
import json, sys
report = json.load(open(sys.argv[1]))
us = {}
card = None
for b in report["benchmarks"]:
    if b.get("error_occurred"):
        print(f"{b['name']}: {b.get('error_message')}")
        continue
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b["time_unit"]]
    us[b["name"]] = b["real_time"] * scale
    if b["name"].startswith("CardFirstFix"):
        card = b
print(f"{'layout':<10} {'full parse':>12} {'first fix':>12} {'ffprobe':>12} {'parse/ffprobe':>14} {'fix/ffprobe':>12}")
for layout in ("datatrack", "boxes", "avi"):
    full, first, probe = (us.get(f"{k}/{layout}") for k in ("FullParse", "FirstFix", "Ffprobe"))
    if None in (full, first, probe):
        continue
    print(f"{layout:<10} {full:>9.0f} us {first:>9.0f} us {probe:>9.0f} us {full / probe:>14.3f} {first / probe:>12.3f}")
if card:
    files = int(card["files"])
    seconds = card["real_time"] / {"ns": 1e9, "us": 1e6, "ms": 1e3, "s": 1}[card["time_unit"]]
    print(f"card first fix: {files} files ({int(card['files_with_fix'])} with a fix) in {seconds:.3f} s "
          f"= {card['items_per_second']:.0f} files/s (warm cache)")
PY
